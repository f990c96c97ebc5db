// DisplayCheck: whether any of Qt's platform plugins can open a window here,
// asked before QApplication exists. Qt itself, when none can, aborts the
// program with a message that names plugins, not what to install; a program
// started from a desktop menu would simply vanish.
//
//   const std::string problem = DisplayProblem(CurrentDisplay(toolkit_args));
//   if (!problem.empty()) { std::cerr << "orvalen: " << problem << '\n'; return 1; }
//
// The platforms tried are Qt's: those named by -platform or QT_QPA_PLATFORM
// (a list separated by ';'), or else Wayland in a Wayland session, then X11.
// X11 counts as usable when DISPLAY is set, Wayland when its socket exists;
// any platform needs its plugin, looked for in Qt's plugin folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvalen {

struct DisplayEnvironment {
  std::optional<std::string> platform;            // -platform or QT_QPA_PLATFORM
  std::string display;                            // DISPLAY
  std::string wayland_display;                    // WAYLAND_DISPLAY
  std::string session_type;                       // XDG_SESSION_TYPE
  std::string runtime_dir;                        // XDG_RUNTIME_DIR
  std::vector<std::string> platform_plugin_dirs;  // folders of libq<name>.so
};

// The environment of this process, with the window's Qt options.
DisplayEnvironment CurrentDisplay(const std::vector<std::string>& toolkit_args);

// Empty when a platform can start; otherwise one line saying why none can,
// naming the package to install.
std::string DisplayProblem(const DisplayEnvironment& environment);

}  // namespace orvalen
