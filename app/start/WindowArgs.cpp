#include "app/start/WindowArgs.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>

namespace orvalen {
namespace {

// Options QGuiApplication and QApplication read themselves: with a value
// (as the next argument only), and without.
constexpr std::string_view kToolkitValueOptions[] = {"platform",        "platformpluginpath",
                                                     "platformtheme",   "plugin",
                                                     "qwindowgeometry", "qwindowicon",
                                                     "qwindowtitle",    "display",
                                                     "geometry",        "style",
                                                     "session",         "name"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

template <std::size_t N>
bool Contains(const std::string_view (&names)[N], std::string_view name) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool IsOwnOption(std::string_view name) {
  return name == "config" || name == "skin";
}

constexpr const char* kDescription =
    "The marketplace's affiliate items in one window: categories, keyword search,\n"
    "filters and pages; items and shops open in the desktop's browser. Qt's own\n"
    "options (-platform NAME, -style NAME, -reverse, ...) are passed on.\n"
    "Exit status: 0, 2 for a usage error, 1 when no window can be opened.";

// The name of "-name", "--name" or "--name=value".
std::string_view OptionName(std::string_view arg) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The window's options, and Qt's, which are accepted and left to Qt.
void AddOptions(QCommandLineParser& parser) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOption({QStringLiteral("config"),
                    QStringLiteral("the configuration document to load (default: "
                                   "$ORVALEN_CONFIG_URL, else the built-in address). When the "
                                   "built-in address is the local sandbox and nothing listens "
                                   "there, orvalen starts the installed orvalen-sandbox for as "
                                   "long as the window is open."),
                    QStringLiteral("URL")});
  parser.addOption(
      {QStringLiteral("skin"),
       QStringLiteral("the window's look: a skin file (a Qt style sheet, see orvalen(1)), "
                      "a built-in skin (light, dark, contrast) or none for the "
                      "toolkit's own look (default: $ORVALEN_SKIN, else light)."),
       QStringLiteral("FILE|NAME|none")});
  const auto add_hidden = [&parser](std::string_view name, bool value) {
    QCommandLineOption option(Q(name));
    if (value) option.setValueName(QStringLiteral("VALUE"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  };
  for (std::string_view name : kToolkitValueOptions) add_hidden(name, true);
  for (std::string_view name : kToolkitFlags) add_hidden(name, false);
  // Listed for --help; they end the parsing before the parser sees them.
  parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this text")});
  parser.addOption({QStringLiteral("version"), QStringLiteral("the version")});
}

// What the parser takes but the window refuses: its own options with one
// dash, Qt's with "=" (Qt reads those only as two arguments).
std::optional<std::string> Refused(const std::string& arg) {
  if (!arg.starts_with('-') || arg.size() < 2) return std::nullopt;
  const std::string_view name = OptionName(arg);
  const bool toolkit = Contains(kToolkitValueOptions, name) || Contains(kToolkitFlags, name);
  if ((IsOwnOption(name) && !arg.starts_with("--")) || (toolkit && arg.find('=') != arg.npos)) {
    return "unknown option " + arg;
  }
  return std::nullopt;
}

// One line for what the parser refused, naming the argument as it was given.
std::string ParseError(const QCommandLineParser& parser, std::span<const std::string> args) {
  for (const QString& unknown : parser.unknownOptionNames()) {
    const auto given = std::find_if(args.begin(), args.end(), [&](const std::string& arg) {
      return arg.starts_with('-') && Q(OptionName(arg)) == unknown;
    });
    if (given != args.end()) return "unknown option " + *given;
  }
  const std::string& last = args.back();
  if (parser.errorText().startsWith(QLatin1String("Missing value"))) return last + " needs a value";
  // Qt's sentence as one of ours: "Unexpected value after '--help'."
  QString text = parser.errorText();
  if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  return (text.left(1).toLower() + text.mid(1)).toStdString();
}

WindowArgs Fail(std::string message) {
  WindowArgs parsed;
  parsed.action = WindowArgs::Action::kUsageError;
  parsed.error = std::move(message);
  return parsed;
}

}  // namespace

std::string WindowUsage() {
  QCommandLineParser parser;
  AddOptions(parser);
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  QString help = parser.helpText();
  help.replace(QStringLiteral("Usage: <executable_name> [options]"),
               QStringLiteral("usage: orvalen [--config URL] [--skin FILE|NAME|none] [Qt options "
                              "such as -platform NAME]\n       orvalen --help | --version"));
  return help.toStdString();
}

WindowArgs ParseWindowArgs(std::span<const std::string> args) {
  // --help and --version win over what follows them, which is not looked at.
  const auto stop = std::find_if(args.begin(), args.end(), [](const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "--version";
  });
  const std::span<const std::string> before(args.begin(), stop);
  QStringList list{QStringLiteral("orvalen")};
  for (const std::string& arg : before) {
    if (auto refused = Refused(arg)) return Fail(*refused);
    list << Q(arg);
  }
  QCommandLineParser parser;
  AddOptions(parser);
  if (!parser.parse(list)) return Fail(ParseError(parser, before));
  if (!parser.positionalArguments().isEmpty()) {
    return Fail("unexpected argument " + parser.positionalArguments().first().toStdString());
  }
  WindowArgs parsed;
  if (stop != args.end()) {
    parsed.action = *stop == "--version" ? WindowArgs::Action::kVersion : WindowArgs::Action::kHelp;
    return parsed;
  }
  // The last of each counts.
  if (parser.isSet(QStringLiteral("config"))) {
    parsed.config = parser.value(QStringLiteral("config")).toStdString();
  }
  if (parser.isSet(QStringLiteral("skin"))) {
    parsed.skin = parser.value(QStringLiteral("skin")).toStdString();
    if (parsed.skin->empty()) return Fail("--skin needs a value");
  }
  // Everything else is Qt's, in its order: an option, with its value when
  // it takes one as the next argument.
  for (std::size_t i = 0; i < before.size(); ++i) {
    const std::string_view name = OptionName(before[i]);
    const bool next_is_value = before[i].find('=') == std::string::npos &&
                               (IsOwnOption(name) || Contains(kToolkitValueOptions, name));
    const std::size_t end = std::min(before.size(), i + (next_is_value ? 2 : 1));
    if (!IsOwnOption(name)) {
      parsed.toolkit_args.insert(parsed.toolkit_args.end(), before.begin() + i,
                                 before.begin() + end);
    }
    i = end - 1;
  }
  return parsed;
}

}  // namespace orvalen
