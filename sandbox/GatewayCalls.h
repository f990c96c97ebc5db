// The six platform calls the gateway answers, each from request parameters
// whose system part (key, time, signature) has already been checked.
#pragma once

#include <string>

#include "sandbox/Catalogue.h"
#include "sandbox/RequestCheck.h"
#include "sandbox/SearchCache.h"

namespace orvalen::sandbox {

struct CallContext {
  const Catalogue& catalogue;
  const Params& params;
  const std::string& base_url;
  SearchCache& search;
};

// Either an answer body, or a refusal with the gateway's code and message.
struct CallResult {
  int code = 0;
  std::string message;
  std::string body;

  static CallResult Refuse(int code, std::string message) { return {code, std::move(message), {}}; }
  static CallResult Missing(const std::string& name) {
    return Refuse(40, "Missing required arguments:" + name);
  }
  static CallResult Invalid(const std::string& name) {
    return Refuse(41, "Invalid arguments:" + name);
  }
};

CallResult ItemCatsGet(const CallContext& ctx);
CallResult TaobaokeItemsGet(const CallContext& ctx);
CallResult UsersGet(const CallContext& ctx);
CallResult ShopGet(const CallContext& ctx);
CallResult TaobaokeShopsConvert(const CallContext& ctx);
CallResult TaobaokeListurlGet(const CallContext& ctx);

// The error answer for a refusal.
std::string ErrorAnswer(int code, const std::string& message);

class XmlWriter;
// Ends an answer the way the real gateway did (a trailing comment) and
// returns its text.
std::string CompleteAnswer(XmlWriter& w);

}  // namespace orvalen::sandbox
