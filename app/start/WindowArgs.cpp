#include "app/start/WindowArgs.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

namespace orvalen {
namespace {

// Options QGuiApplication and QApplication read themselves, the first ones
// with a value (as the next argument only).
constexpr std::string_view kToolkitOptions[] = {"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "qwindowgeometry", "qwindowicon",
                                                "qwindowtitle",    "display",
                                                "geometry",        "style",
                                                "session",         "name",
                                                "reverse",         "nograb",
                                                "dograb",          "sync",
                                                "widgetcount"};
constexpr std::size_t kToolkitValueOptions = 12;

constexpr const char* kDescription =
    "The marketplace's affiliate items in one window: categories, keyword search,\n"
    "filters and pages; items and shops open in the desktop's browser. Qt's own\n"
    "options (-platform NAME, -style NAME, -reverse, ...) are passed on.\n"
    "Exit status: 0, or 2 for a usage error.";

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
  parser.addOption({QStringLiteral("skin"),
                    QStringLiteral("the window's look: a skin file (a Qt style sheet, see the "
                                   "README), a built-in skin (light, dark, contrast) or none for "
                                   "the toolkit's own look (default: $ORVALEN_SKIN, else light)."),
                    QStringLiteral("FILE|NAME|none")});
  for (std::size_t i = 0; i < std::size(kToolkitOptions); ++i) {
    QCommandLineOption option(Q(kToolkitOptions[i]));
    if (i < kToolkitValueOptions) option.setValueName(QStringLiteral("VALUE"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  // Listed for --help; they end the parsing before the parser sees them.
  parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this text")});
  parser.addOption({QStringLiteral("version"), QStringLiteral("the version")});
}

bool IsToolkitOption(std::string_view name) {
  return std::find(std::begin(kToolkitOptions), std::end(kToolkitOptions), name) !=
         std::end(kToolkitOptions);
}

// What the parser takes but the window refuses: its own options with one
// dash, Qt's with "=" (Qt reads those only as two arguments).
std::optional<std::string> Refused(const std::string& arg) {
  if (!arg.starts_with('-') || arg.size() < 2) return std::nullopt;
  const std::string_view name = OptionName(arg);
  const bool own = name == "config" || name == "skin";
  if ((own && !arg.starts_with("--")) || (IsToolkitOption(name) && arg.find('=') != arg.npos)) {
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
  for (const char* own : {"config", "skin"}) {
    if (!parser.isSet(QLatin1String(own))) continue;
    const std::string value = parser.values(QLatin1String(own)).last().toStdString();
    if (own == std::string_view("skin") && value.empty()) return Fail("--skin needs a value");
    (own == std::string_view("config") ? parsed.config : parsed.skin) = value;
  }
  // Everything else is Qt's, in its order.
  for (std::size_t i = 0; i < before.size(); ++i) {
    const std::string_view name = OptionName(before[i]);
    const bool own = name == "config" || name == "skin";
    if (!own) parsed.toolkit_args.push_back(before[i]);
    if (own && before[i].find('=') == std::string::npos) ++i;  // and its value
  }
  return parsed;
}

}  // namespace orvalen
