#include "app/start/DisplayCheck.h"

#include <QLibraryInfo>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace orvalen {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWaylandPackage = "qt6-wayland";
constexpr const char* kX11Package = "libqt6gui6";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// "offscreen:configfile=..." names the plugin "offscreen".
std::string PluginName(const std::string& platform) {
  return platform.substr(0, platform.find(':'));
}

// Qt's plugin files are libq<name>.so; Wayland's come in flavours
// (libqwayland-generic.so, libqwayland-egl.so).
bool HasPlugin(const DisplayEnvironment& env, const std::string& name) {
  const std::string exact = "libq" + name + ".so";
  const std::string flavour = "libq" + name + "-";
  return std::any_of(
      env.platform_plugin_dirs.begin(), env.platform_plugin_dirs.end(),
      [&](const std::string& dir) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(dir, error)) {
          const std::string file = entry.path().filename().string();
          if (file == exact || (file.starts_with(flavour) && file.ends_with(".so"))) {
            return true;
          }
        }
        return false;
      });
}

bool IsWayland(const std::string& name) {
  return name == "wayland" || name.starts_with("wayland-");
}

// The socket the Wayland plugin connects to.
fs::path WaylandSocket(const DisplayEnvironment& env) {
  const std::string name = env.wayland_display.empty() ? "wayland-0" : env.wayland_display;
  if (name.starts_with('/')) return name;
  return env.runtime_dir.empty() ? fs::path() : fs::path(env.runtime_dir) / name;
}

bool WaylandSocketExists(const DisplayEnvironment& env) {
  std::error_code error;
  const fs::path socket = WaylandSocket(env);
  return !socket.empty() && fs::is_socket(socket, error);
}

// The platforms Qt will try, in its order.
std::vector<std::string> Candidates(const DisplayEnvironment& env) {
  if (env.platform) {
    std::vector<std::string> names;
    for (const std::string& platform : Split(*env.platform, ';')) {
      names.push_back(PluginName(platform));
    }
    return names;
  }
  std::vector<std::string> names;
  if (!env.wayland_display.empty() || env.session_type == "wayland") names.push_back("wayland");
  names.push_back("xcb");
  return names;
}

bool Usable(const DisplayEnvironment& env, const std::string& name) {
  if (!HasPlugin(env, name)) return false;
  if (name == "xcb") return !env.display.empty();
  if (IsWayland(name)) return WaylandSocketExists(env);
  return true;
}

// Why `name` cannot start: its plugin, or its display.
std::string Why(const DisplayEnvironment& env, const std::string& name) {
  if (IsWayland(name)) {
    if (!HasPlugin(env, name)) {
      return "this Wayland session needs Qt's Wayland platform plugin: install the package " +
             std::string(kWaylandPackage);
    }
    return "no Wayland display at " + (WaylandSocket(env).empty()
                                           ? std::string("$XDG_RUNTIME_DIR (not set)")
                                           : WaylandSocket(env).string());
  }
  if (name == "xcb") {
    if (!HasPlugin(env, name)) {
      return "Qt's X11 platform plugin is missing: install the package " + std::string(kX11Package);
    }
    return std::string(
               "no display: DISPLAY is not set, and no Wayland session is either (for "
               "Wayland, install the package ") +
           kWaylandPackage + ")";
  }
  return "Qt has no platform plugin \"" + name + "\" (asked for by -platform or QT_QPA_PLATFORM; " +
         "for Wayland, install the package " + kWaylandPackage + ")";
}

}  // namespace

DisplayEnvironment CurrentDisplay(const std::vector<std::string>& toolkit_args) {
  DisplayEnvironment env;
  const auto platform = std::find(toolkit_args.begin(), toolkit_args.end(), "-platform");
  if (platform != toolkit_args.end() && platform + 1 != toolkit_args.end()) {
    env.platform = *(platform + 1);
  } else if (!Variable("QT_QPA_PLATFORM").empty()) {
    env.platform = Variable("QT_QPA_PLATFORM");
  }
  env.display = Variable("DISPLAY");
  env.wayland_display = Variable("WAYLAND_DISPLAY");
  env.session_type = Variable("XDG_SESSION_TYPE");
  env.runtime_dir = Variable("XDG_RUNTIME_DIR");
  // Where Qt looks: its own folder, then QT_PLUGIN_PATH's, then the one
  // folder QT_QPA_PLATFORM_PLUGIN_PATH names.
  env.platform_plugin_dirs.push_back(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() +
                                     "/platforms");
  for (const std::string& dir : Split(Variable("QT_PLUGIN_PATH"), ':')) {
    env.platform_plugin_dirs.push_back(dir + "/platforms");
  }
  if (!Variable("QT_QPA_PLATFORM_PLUGIN_PATH").empty()) {
    env.platform_plugin_dirs.push_back(Variable("QT_QPA_PLATFORM_PLUGIN_PATH"));
  }
  return env;
}

std::string DisplayProblem(const DisplayEnvironment& env) {
  const std::vector<std::string> names = Candidates(env);
  if (std::any_of(names.begin(), names.end(),
                  [&](const std::string& name) { return Usable(env, name); })) {
    return {};
  }
  // The first one Qt would have tried says it best: a Wayland session's
  // missing plugin rather than X11's missing display.
  return "cannot open a window: " + Why(env, names.empty() ? "xcb" : names.front());
}

}  // namespace orvalen
