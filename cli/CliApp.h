// RunCli: orvalen-cli's argument handling, command dispatch and output.
//
//   orvalen-cli [--config URL] [--json] COMMAND [ARGS]
//   orvalen-cli [--config URL] mcp      (an MCP server on `in` and `out`)
//   return RunCli(args, std::cout, std::cerr, std::getenv(kConfigUrlVariable));
//
// Returns the process exit status: 0 when the call succeeded (or --help,
// --version, or the MCP client closed its end), 1 when it failed (reason on `err`, in `words`), 2
// for a usage error (one line on `err`). `config_environment` is the value of ORVALEN_CONFIG_URL.
// The arguments are read in `charset`, and the lines written (TSV and reasons) are in it too;
// --json is always UTF-8.
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>

#include "cli/TerminalCharset.h"

namespace orvalen {

// The language of the reasons a failure gives.
enum class Words { English, Chinese };

// `in` is what the mcp command reads (null: nothing).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const char* config_environment = nullptr, Words words = Words::English,
           const TerminalCharset& charset = TerminalCharset("UTF-8"), std::istream* in = nullptr);

}  // namespace orvalen
