#include "app/WindowArgs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orvalen {
namespace {

// Options QGuiApplication and QApplication read themselves.
constexpr std::array<std::string_view, 12> kToolkitValueOptions{
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "display",
    "geometry",        "style",
    "session",         "name"};
constexpr std::array<std::string_view, 5> kToolkitFlags{"reverse", "nograb", "dograb", "sync",
                                                        "widgetcount"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The name of "-name", "--name" or "--name=value".
std::string_view OptionName(std::string_view arg) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

WindowArgs Only(WindowArgs::Action action) {
  WindowArgs parsed;
  parsed.action = action;
  return parsed;
}

}  // namespace

const char* WindowUsage() {
  return "usage: orvalen [--config URL] [--skin FILE|NAME|none] [Qt options such as -platform "
         "NAME]\n"
         "       orvalen --help | --version\n"
         "The marketplace's affiliate items in one window: categories, keyword search,\n"
         "filters and pages; items and shops open in the desktop's browser.\n"
         "  --config URL   the configuration document to load (default: $ORVALEN_CONFIG_URL,\n"
         "                 else the built-in address). When the built-in address is the\n"
         "                 local sandbox and nothing listens there, orvalen starts the\n"
         "                 installed orvalen-sandbox for as long as the window is open.\n"
         "  --skin FILE    the window's look: a skin file (a Qt style sheet, see the README),\n"
         "                 a built-in skin (light, dark, contrast) or none for the toolkit's own "
         "look\n"
         "                 (default: $ORVALEN_SKIN, else light).\n"
         "Exit status: 0, or 2 for a usage error.\n";
}

WindowArgs ParseWindowArgs(std::span<const std::string> args) {
  WindowArgs parsed;
  const auto fail = [&parsed](std::string message) {
    parsed.action = WindowArgs::Action::kUsageError;
    parsed.error = std::move(message);
    return parsed;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Only(WindowArgs::Action::kHelp);
    if (arg == "--version") return Only(WindowArgs::Action::kVersion);
    if (!arg.starts_with('-') || arg.size() < 2) return fail("unexpected argument " + arg);
    const std::string_view name = OptionName(arg);
    const std::size_t equals = arg.find('=');
    const bool has_value = equals != std::string::npos;
    if ((name == "config" || name == "skin") && arg.starts_with("--")) {
      if (!has_value && i + 1 == args.size())
        return fail("--" + std::string(name) + " needs a value");
      std::optional<std::string>& value = name == "config" ? parsed.config : parsed.skin;
      value = has_value ? arg.substr(equals + 1) : args[++i];
      if (name == "skin" && value->empty()) return fail("--skin needs a value");
    } else if (Contains(kToolkitValueOptions, name) && !has_value) {
      // Qt reads these only as two arguments.
      if (i + 1 == args.size()) return fail(arg + " needs a value");
      parsed.toolkit_args.push_back(arg);
      parsed.toolkit_args.push_back(args[++i]);
    } else if (Contains(kToolkitFlags, name) && !has_value) {
      parsed.toolkit_args.push_back(arg);
    } else {
      return fail("unknown option " + arg);
    }
  }
  return parsed;
}

}  // namespace orvalen
