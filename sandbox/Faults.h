// Faults: ways the sandbox can misbehave on purpose, for testing how the
// program copes. Each fault applies to every gateway call, to one call
// (":taobao.users.get"), or to the configuration document (":config").
//
//   orvalen-sandbox --fault stall:taobao.taobaoke.items.get --fault error-29:taobao.shop.get
//
// Kinds: stall (half an answer, then silence), drip (a byte every 3 s),
// close (half an answer, then the connection closes), reset (half an
// answer, then the connection is reset), http500, http502 (a proxy's error
// page), redirect, portal (a network's login page with 200 OK), gzip (the
// answer compressed though the client did not ask), malformed (not
// well-formed XML), endless (a body without end), bomb (an
// entity-expansion bomb), error-N (the gateway's error answer with code N),
// shapes (click URLs in the shapes real links take, see LinkShapes), and for
// the configuration document also sections (only the key and secret),
// leaves (sections whose sub-elements are all empty) and slow (the document
// after a 5 s pause). clock+N and clock-N set the gateway's clock N seconds
// ahead or behind, for every call and the Date header; they take no CALL.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/HttpMessage.h"

namespace orvalen::sandbox {

struct Fault {
  std::string kind;
  std::string target;  // a call's method name, "config", or empty for every call
  int code = 0;        // for error-N; the seconds of clock+N and clock-N
};

// "KIND" or "KIND:TARGET"; nullopt for an unknown kind.
std::optional<Fault> ParseFault(std::string_view text);

// The fault that applies to `target` (a method name or "config"), if any;
// clock faults are not among them.
const Fault* FindFault(const std::vector<Fault>& faults, std::string_view target);
// How far the clock faults set the gateway's clock off.
std::chrono::seconds ClockOffset(const std::vector<Fault>& faults);

// The answer `body` spoiled as the fault says. Waiting faults wait on the
// server's timers and end with it.
HttpReply ApplyFault(const Fault& fault, const std::string& body, const std::string& redirect_to);

// The configuration document changed by a configuration-only fault
// (sections, leaves); other faults leave it as it is.
std::string SpoilConfig(const Fault& fault, const std::string& document, const std::string& app_key,
                        const std::string& app_secret);

}  // namespace orvalen::sandbox
