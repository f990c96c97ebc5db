// WindowArgs: the window program's command line, read before any display is
// opened so that --help, --version and usage errors need none.
//
//   const WindowArgs a = ParseWindowArgs({argv + 1, argv + argc});
//   a.action == WindowArgs::Action::kRun: pass a.toolkit_args on to QApplication
//
// Parsed with QCommandLineParser (which needs no application object). Qt's
// own options (-platform NAME, -style NAME, -reverse, ...) are kept for the
// toolkit; anything else that is not the window's own is a usage error.
// Qt's -stylesheet is not among them: the window's look comes from --skin,
// whose sheets are checked first.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvalen {

struct WindowArgs {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  std::optional<std::string> config;      // --config URL
  std::optional<std::string> skin;        // --skin FILE|NAME|none
  std::vector<std::string> toolkit_args;  // Qt's options, in their order
  std::string error;                      // one line, for kUsageError
};

WindowArgs ParseWindowArgs(std::span<const std::string> args);

// The text of --help.
std::string WindowUsage();

}  // namespace orvalen
