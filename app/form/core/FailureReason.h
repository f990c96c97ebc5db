// FailureReason: the line the not-found message adds to say why a search
// failed, in plain words; empty when there is nothing useful to say (no key,
// an answer that could not be read).
//
//   FailureReason(items.LastError())  // "无法连接到服务器"
#pragma once

#include <string>

#include "openapi/FetchError.h"

namespace orvalen {

std::string FailureReason(const FetchError& error);

}  // namespace orvalen
