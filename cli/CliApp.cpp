#include "cli/CliApp.h"

#include <optional>
#include <vector>

#include "cli/CliCommands.h"
#include "config/ConfigLocation.h"
#include "config/SiteConfig.h"

namespace orvalen {
namespace {

constexpr const char* kUsage =
    "usage: orvalen-cli [--config URL] [--json] COMMAND [ARGS]\n"
    "       orvalen-cli --help | --version\n"
    "  cats [PARENT_CID]            categories under PARENT_CID (top level when left out)\n"
    "  items [--keyword TEXT] [--cid ID] [--area TEXT] [--sort KEY] [--price LOW-HIGH]\n"
    "        [--credit LOWKEY-HIGHKEY] [--page N]     one page of affiliate items\n"
    "  users NICKS                  member credit; NICKS is sent exactly as given\n"
    "  shop NICK                    shop lookup\n"
    "  convert SIDS                 affiliate shop conversion, credited to the built-in member\n"
    "  listurl KEYWORD              affiliate list URL, credited to the built-in member\n"
    "Output: one TAB-separated line per entry, a backslash, TAB, line feed or carriage\n"
    "return in a value written as \\\\, \\t, \\n or \\r; --json: a JSON array of objects.\n"
    "The configuration document: --config URL, else $ORVALEN_CONFIG_URL, else the built-in\n"
    "address. Exit status: 0 success, 1 the call failed, 2 usage error.\n";

struct UsageError {
  std::string message;
};

bool IsNumber(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// "LOW-HIGH" into its two halves; both must be present.
std::optional<std::pair<std::string, std::string>> SplitRange(const std::string& range) {
  const std::size_t dash = range.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == range.size()) return std::nullopt;
  return std::pair{range.substr(0, dash), range.substr(dash + 1)};
}

ItemOptions ParseItemOptions(std::span<const std::string> args) {
  ItemOptions q;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& flag = args[i];
    if (i + 1 >= args.size()) throw UsageError{flag + " needs a value"};
    const std::string& value = args[i + 1];
    if (flag == "--keyword") {
      q.keyword = value;
    } else if (flag == "--cid") {
      if (!IsNumber(value)) throw UsageError{"--cid takes a number"};
      q.cid = value;
    } else if (flag == "--area") {
      q.area = value;
    } else if (flag == "--sort") {
      q.sort = value;
    } else if (flag == "--price") {
      const auto range = SplitRange(value);
      if (!range || !IsNumber(range->first) || !IsNumber(range->second)) {
        throw UsageError{"--price takes LOW-HIGH, two whole numbers"};
      }
      q.start_price = range->first;
      q.end_price = range->second;
    } else if (flag == "--credit") {
      const auto range = SplitRange(value);
      if (!range) throw UsageError{"--credit takes LOWKEY-HIGHKEY, for example 1heart-5crown"};
      q.start_credit = range->first;
      q.end_credit = range->second;
    } else if (flag == "--page") {
      if (!IsNumber(value) || value.find_first_not_of('0') == std::string::npos) {
        throw UsageError{"--page takes a page number from 1"};
      }
      q.page_no = value;
    } else {
      throw UsageError{"unknown items option " + flag};
    }
  }
  return q;
}

const std::string& OneArgument(std::span<const std::string> args, const char* what) {
  if (args.size() != 1) throw UsageError{std::string("expected ") + what};
  return args[0];
}

CallOutcome Dispatch(CliCommands& commands, const std::string& command,
                     std::span<const std::string> args) {
  if (command == "cats") {
    if (args.size() > 1) throw UsageError{"cats takes at most one PARENT_CID"};
    if (!args.empty() && !IsNumber(args[0])) throw UsageError{"PARENT_CID is a number"};
    return commands.Cats(args.empty() ? std::string() : args[0]);
  }
  if (command == "items") return commands.Items(ParseItemOptions(args));
  if (command == "users") return commands.Users(OneArgument(args, "NICKS"));
  if (command == "shop") return commands.Shop(OneArgument(args, "NICK"));
  if (command == "convert") return commands.Convert(OneArgument(args, "SIDS"));
  if (command == "listurl") return commands.Listurl(OneArgument(args, "KEYWORD"));
  throw UsageError{"unknown command " + command};
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const char* config_environment) {
  std::optional<std::string> config_flag;
  bool json = false;
  std::size_t i = 0;
  try {
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
      if (args[i] == "--json") {
        json = true;
      } else if (args[i] == "--config") {
        if (i + 1 == args.size()) throw UsageError{"--config needs a value"};
        config_flag = args[++i];
      } else if (args[i] == "--help") {
        out << kUsage;
        return 0;
      } else if (args[i] == "--version") {
        out << "orvalen-cli " << kVersion << '\n';
        return 0;
      } else {
        throw UsageError{"unknown option " + args[i]};
      }
    }
    if (i == args.size()) throw UsageError{"no command given"};
    const ConfigChoice config =
        ChooseConfigUrl(config_flag, config_environment, DefaultConfigUrl());
    if (!config.error.empty()) throw UsageError{config.error};
    CliCommands commands(config.url);
    const CallOutcome outcome = Dispatch(commands, args[i], args.subspan(i + 1));
    if (!outcome.ok) {
      err << "orvalen-cli: " << args[i] << " failed: " << outcome.error << '\n';
      return 1;
    }
    json ? PrintJson(outcome.rows, out) : PrintTsv(outcome.rows, out);
    return 0;
  } catch (const UsageError& e) {
    err << "orvalen-cli: " << e.message << " (see orvalen-cli --help)\n";
    return 2;
  }
}

}  // namespace orvalen
