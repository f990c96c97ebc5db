// RunCli: orvalen-cli's argument handling, command dispatch and output.
//
//   orvalen-cli [--config URL] [--json] COMMAND [ARGS]
//
// Returns the process exit status: 0 when the call succeeded, 1 when it
// failed (reason on `err`), 2 for a usage error (usage on `err`).
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace orvalen {

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace orvalen
