// WindowProgram: the window program from its command line to its exit
// status; `main` passes the built-in values.
//
//   return RunWindowProgram(argc, argv, {.builtin_config_url = DefaultConfigUrl(),
//                                        .sandbox_program = "orvalen-sandbox"});
//
// --help, --version and usage errors are answered before a display is
// opened. Otherwise the window loads the configuration chosen by --config,
// ORVALEN_CONFIG_URL or the built-in address, with the local sandbox started
// on demand (see LocalSandbox), and SIGTERM, SIGINT and SIGHUP close it like
// the window's close button.
#pragma once

#include <QString>
#include <chrono>
#include <string>

namespace orvalen {

struct WindowDefaults {
  std::string builtin_config_url;
  // Relative paths are taken from the folder the program runs from.
  QString sandbox_program;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

int RunWindowProgram(int argc, char** argv, const WindowDefaults& defaults);

}  // namespace orvalen
