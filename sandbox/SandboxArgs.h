// SandboxArgs: orvalen-sandbox's command line, parsed with CLI11.
//
//   SandboxArgs a = ParseSandboxArgs(argc, argv);
//   kServe: serve a.options (stop too once nobody holds a.while_locked);
//   kHelp, kVersion: print a.text, exit 0; kUsageError: a.text is one line, exit 2.
#pragma once

#include <string>

#include "sandbox/SandboxServer.h"

namespace orvalen::sandbox {

struct SandboxArgs {
  enum class Action { kServe, kHelp, kVersion, kUsageError };
  Action action = Action::kServe;
  SandboxOptions options;
  std::string while_locked;  // stop once nobody holds a lock on this file
  std::string text;          // the help or version text, or the usage error
};

SandboxArgs ParseSandboxArgs(int argc, const char* const* argv);

}  // namespace orvalen::sandbox
