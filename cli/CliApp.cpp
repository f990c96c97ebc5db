#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <optional>
#include <sstream>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/mcp/McpServer.h"
#include "config/ConfigLocation.h"
#include "config/SiteConfig.h"

namespace orvalen {
namespace {

constexpr const char* kFooter =
    "Output: one TAB-separated line per entry, a backslash, TAB, line feed or carriage\n"
    "return in a value written as \\\\, \\t, \\n or \\r; --json: a JSON array of objects.\n"
    "Arguments and lines are in the locale's character set ('?' for what it lacks);\n"
    "--json is always UTF-8.\n"
    "The configuration document: --config URL, else $ORVALEN_CONFIG_URL, else the built-in\n"
    "address. Exit status: 0 success, 1 the call failed, 2 usage error.";

bool IsNumber(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// "LOW-HIGH" into its two halves; both must be present.
std::optional<std::pair<std::string, std::string>> SplitRange(const std::string& range) {
  const std::size_t dash = range.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == range.size()) return std::nullopt;
  return std::pair{range.substr(0, dash), range.substr(dash + 1)};
}

// A check of one value: `holds` it, else the usage error `says`.
CLI::Validator Check(bool (*holds)(const std::string&), std::string says) {
  return CLI::Validator(
      [holds, says](std::string& value) { return holds(value) ? std::string() : says; }, "");
}

bool IsPageNumber(const std::string& s) {
  return IsNumber(s) && s.find_first_not_of('0') != std::string::npos;
}
bool IsNumberRange(const std::string& s) {
  const auto range = SplitRange(s);
  return range && IsNumber(range->first) && IsNumber(range->second);
}
bool IsRange(const std::string& s) {
  return SplitRange(s).has_value();
}

// Sets `low` and `high` from a checked "LOW-HIGH".
std::function<void(const std::string&)> Into(std::string& low, std::string& high) {
  return [&low, &high](const std::string& value) { std::tie(low, high) = *SplitRange(value); };
}

// The command line's words, as the program's help writes them.
void UseOurWords(CLI::App& app) {
  const auto formatter = app.get_formatter();
  formatter->label("Usage", "usage");
  formatter->label("SUBCOMMAND", "COMMAND");
  formatter->column_width(30);
}

// What the commands were given.
struct Commands {
  std::string argument;  // PARENT_CID, NICKS, NICK, SIDS or KEYWORD
  ItemOptions items;
};

void AddItems(CLI::App& app, Commands& c) {
  CLI::App* items = app.add_subcommand("items", "one page of affiliate items");
  ItemOptions& q = c.items;
  items->add_option("--keyword", q.keyword, "words to search for")->type_name("TEXT");
  items->add_option("--cid", q.cid, "a category")
      ->type_name("ID")
      ->check(Check(IsNumber, "takes a number"));
  items->add_option("--area", q.area, "the sellers' location")->type_name("TEXT");
  items->add_option("--sort", q.sort, "the order, for example price_asc")->type_name("KEY");
  items
      ->add_option_function<std::string>("--price", Into(q.start_price, q.end_price),
                                         "the price range in yuan")
      ->type_name("LOW-HIGH")
      ->check(Check(IsNumberRange, "takes LOW-HIGH, two whole numbers"));
  items
      ->add_option_function<std::string>("--credit", Into(q.start_credit, q.end_credit),
                                         "the sellers' credit range")
      ->type_name("LOWKEY-HIGHKEY")
      ->check(Check(IsRange, "takes LOWKEY-HIGHKEY, for example 1heart-5crown"));
  items->add_option("--page", q.page_no, "the page, from 1")
      ->type_name("N")
      ->check(Check(IsPageNumber, "takes a page number from 1"));
}

void AddCommands(CLI::App& app, Commands& c) {
  CLI::App* cats =
      app.add_subcommand("cats", "categories under PARENT_CID (top level when left out)");
  cats->add_option("PARENT_CID", c.argument, "a category, a number")
      ->type_name("")
      ->check(Check(IsNumber, "is a number"));
  AddItems(app, c);
  const std::pair<const char*, const char*> single[] = {
      {"users", "member credit; NICKS is sent exactly as given"},
      {"shop", "shop lookup"},
      {"convert", "affiliate shop conversion, credited to the built-in member"},
      {"listurl", "affiliate list URL, credited to the built-in member"}};
  const char* const names[] = {"NICKS", "NICK", "SIDS", "KEYWORD"};
  for (std::size_t i = 0; i < std::size(single); ++i) {
    app.add_subcommand(single[i].first, single[i].second)
        ->add_option(names[i], c.argument, "as given")
        ->type_name("")
        ->required();
  }
  app.add_subcommand("mcp", "an MCP server for AI assistants, on standard input and output");
  for (CLI::App* command : app.get_subcommands({})) command->group("Commands");
}

CallOutcome Dispatch(CliCommands& commands, const std::string& name, const Commands& c) {
  if (name == "cats") return commands.Cats(c.argument);
  if (name == "items") return commands.Items(c.items);
  if (name == "users") return commands.Users(c.argument);
  if (name == "shop") return commands.Shop(c.argument);
  if (name == "convert") return commands.Convert(c.argument);
  return commands.Listurl(c.argument);
}

// A usage error in the program's words: what was left over, in the order
// given, says more than "a subcommand is required" or CLI11's reversed list.
std::string Reason(const CLI::App& app, const CLI::ParseError& e) {
  const std::vector<std::string> left = app.remaining(true);
  if (left.empty()) return app.get_subcommands().empty() ? "no command given" : e.what();
  const std::string& first = left.front();
  if (first.starts_with('-')) return "unknown option " + first;
  return app.get_subcommands().empty() ? "unknown command " + first
                                       : "unexpected argument " + first;
}

int UsageError(std::ostream& err, std::string message) {
  std::replace(message.begin(), message.end(), '\n', ' ');
  err << "orvalen-cli: " << message << " (see orvalen-cli --help)\n";
  return 2;
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const char* config_environment, Words words, const TerminalCharset& charset,
           std::istream* in) {
  std::vector<std::string> utf8_args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::optional<std::string> arg = charset.Decode(args[i]);
    if (!arg) {
      return UsageError(err, "argument " + std::to_string(i + 1) +
                                 " is not valid text in the locale's character set (" +
                                 charset.name() + ")");
    }
    utf8_args.push_back(std::move(*arg));
  }
  CLI::App app("", "orvalen-cli");
  UseOurWords(app);
  app.footer(kFooter);
  app.set_help_flag("--help", "this text");
  app.set_version_flag("--version", "orvalen-cli " + std::string(kVersion), "the version");
  std::optional<std::string> config_flag;
  bool json = false;
  app.add_option("--config", config_flag, "the configuration document")->type_name("URL");
  app.add_flag("--json", json, "a JSON array of objects instead of TAB-separated lines");
  Commands commands;
  AddCommands(app, commands);
  app.require_subcommand(1);
  try {
    app.parse(std::vector<std::string>(utf8_args.rbegin(),
                                       utf8_args.rend()));  // CLI11 takes them reversed
  } catch (const CLI::CallForHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << '\n';
    return 0;
  } catch (const CLI::ParseError& e) {
    return UsageError(err, charset.Encode(Reason(app, e)));
  }
  const ConfigChoice config = ChooseConfigUrl(config_flag, config_environment, DefaultConfigUrl());
  if (!config.error.empty()) return UsageError(err, charset.Encode(config.error));
  const std::string name = app.get_subcommands().front()->get_name();
  if (name == "mcp") {
    std::istringstream nothing;
    return McpServer(config.url, out, err, words).Serve(in != nullptr ? *in : nothing);
  }
  CliCommands calls(config.url);
  const CallOutcome outcome = Dispatch(calls, name, commands);
  if (!outcome.ok) {
    std::string line = "orvalen-cli: " + name +
                       " failed: " + (words == Words::Chinese ? outcome.why.zh : outcome.why.en);
    if (!outcome.detail.empty()) line += " (" + outcome.detail + ")";
    err << charset.Encode(line) << '\n';
    return 1;
  }
  if (json) {
    PrintJson(outcome.rows, out);  // JSON is UTF-8, whatever the terminal
  } else {
    std::ostringstream lines;
    PrintTsv(outcome.rows, lines);
    out << charset.Encode(lines.str());
  }
  return 0;
}

}  // namespace orvalen
