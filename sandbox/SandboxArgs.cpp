#include "sandbox/SandboxArgs.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cstdint>

#include "config/SiteConfig.h"

namespace orvalen::sandbox {
namespace {

constexpr const char* kAbout =
    "A local stand-in for the open platform and the configuration server. The\n"
    "gateway (/router/rest, GET or POST form) answers v=1.0 in XML and v=2.0 in\n"
    "XML or, with format=json, JSON; the timestamp is China time or Unix\n"
    "milliseconds. Answers are gzip-compressed when the client accepts it, and\n"
    "their addresses are those the client reached the sandbox by (its Host\n"
    "header), so that --host 0.0.0.0 or :: serves other machines. Prints\n"
    "'listening on http://HOST:PORT/' when ready (--port 0 takes a free port) and\n"
    "logs one line per request on standard error; SIGINT or SIGTERM stops it at\n"
    "once. With --while-locked it also stops once no process holds a lock on\n"
    "FILE (the windows that share it hold shared locks).\n"
    "faults: stall drip close reset http500 http502 redirect portal gzip\n"
    "        malformed endless bomb error-N\n"
    "        shapes (click URLs without path, with :80, dot segments, backslashes,\n"
    "        escapes, blanks, raw non-ASCII or |{}^, long https, short),\n"
    "        clock+N and clock-N (the gateway's clock N seconds off; no CALL),\n"
    "        and for :config also sections leaves slow\n";

// The server's bounds, as they are set.
std::string Bounds() {
  const HttpLimits l;
  const auto s = [](std::chrono::milliseconds d) {
    return std::to_string(d.count() / 1000) + " s";
  };
  const auto kib = [](std::size_t bytes) { return std::to_string(bytes / 1024) + " KiB"; };
  return "bounds: a kept-alive connection is closed after " + s(l.idle) +
         " without a request;\n"
         "        a request must arrive whole (line, headers, body) within " +
         s(l.request) + " of its first\n        byte, each write within " + s(l.write) +
         "; a request line over " + kib(l.max_request_line) +
         " is refused\n        with 414, headers over " + kib(l.max_header) +
         " with 431, a body over " + kib(l.max_body) +
         " with 413;\n"
         "        at most " +
         std::to_string(l.max_connections) + " connections at a time";
}

// A whole number from `low` to `high`, as written: digits only.
CLI::Validator WholeNumber(std::uint64_t low, std::uint64_t high) {
  return CLI::Validator(
      [low, high](std::string& v) {
        std::uint64_t n = 0;
        const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), n);
        const bool whole = !v.empty() && error == std::errc() && end == v.data() + v.size();
        return whole && n >= low && n <= high ? std::string() : "bad value " + v;
      },
      "");
}

const CLI::Validator kFault(
    [](std::string& v) { return ParseFault(v) ? std::string() : "bad value " + v; }, "");

// One line in the program's words; CLI11's own name what went wrong too.
std::string Reason(const CLI::App& app, const CLI::ParseError& e) {
  const std::vector<std::string> left = app.remaining();
  if (!left.empty()) {
    return (left.front().starts_with('-') ? "unknown option " : "unexpected argument ") +
           left.front();
  }
  std::string text = e.what();
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace

SandboxArgs ParseSandboxArgs(int argc, const char* const* argv) {
  SandboxArgs a;
  SandboxOptions& o = a.options;
  CLI::App app("", "orvalen-sandbox");
  app.get_formatter()->label("Usage", "usage");
  app.get_formatter()->column_width(28);
  app.footer(kAbout + Bounds());
  app.set_help_flag("--help", "this text");
  app.set_version_flag("--version", "orvalen-sandbox " + std::string(kVersion), "the version");
  std::vector<std::string> faults;
  app.add_option("--host", o.host, "the address to listen on")
      ->capture_default_str()
      ->type_name("HOST");
  app.add_option("--port", o.port, "the port; 0 takes a free one")
      ->capture_default_str()
      ->type_name("PORT")
      ->check(WholeNumber(0, 65535));
  app.add_option("--seed", o.seed, "the catalogue's seed")
      ->capture_default_str()
      ->type_name("N")
      ->check(WholeNumber(0, UINT64_MAX));
  app.add_option("--items", o.items, "how many items the catalogue holds")
      ->capture_default_str()
      ->type_name("N")
      ->check(WholeNumber(1, SIZE_MAX));
  app.add_option("--app-key", o.app_key, "the key the gateway accepts")->type_name("K");
  app.add_option("--app-secret", o.app_secret, "the secret it signs with")->type_name("S");
  app.add_option("--fault", faults,
                 "misbehave on purpose, on every call or on CALL (a method, or config)")
      ->type_name("KIND[:CALL]")
      ->allow_extra_args(false)  // one fault an option, as often as wanted
      ->check(kFault);
  app.add_option("--while-locked", a.while_locked, "stop once nobody holds a lock on FILE")
      ->type_name("FILE");
  const auto only = [&a](SandboxArgs::Action action, std::string text) {
    a.action = action;
    a.text = std::move(text);
    return a;
  };
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return only(SandboxArgs::Action::kHelp, app.help());
  } catch (const CLI::CallForVersion& version) {
    return only(SandboxArgs::Action::kVersion, version.what());
  } catch (const CLI::ParseError& e) {
    return only(SandboxArgs::Action::kUsageError, Reason(app, e));
  }
  for (const std::string& fault : faults) o.faults.push_back(*ParseFault(fault));
  return a;
}

}  // namespace orvalen::sandbox
