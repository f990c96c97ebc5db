// The six platform calls the gateway answers, each from request parameters
// whose system part (key, time, signature) has already been checked. A call
// checks all its arguments before it writes anything to `answer`.
#pragma once

#include <string>

#include "sandbox/AnswerWriter.h"
#include "sandbox/Catalogue.h"
#include "sandbox/RequestCheck.h"
#include "sandbox/SearchCache.h"

namespace orvalen::sandbox {

struct CallContext {
  const Catalogue& catalogue;
  const Params& params;
  const std::string& base_url;
  SearchCache& search;
  AnswerWriter& answer;
};

// Success (code 0: the answer is written), or a refusal with the gateway's
// code and message.
struct CallResult {
  int code = 0;
  std::string message;

  static CallResult Refuse(int code, std::string message) { return {code, std::move(message)}; }
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

}  // namespace orvalen::sandbox
