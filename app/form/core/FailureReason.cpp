#include "app/form/core/FailureReason.h"

namespace orvalen {

std::string FailureReason(const FetchError& error) {
  switch (error.kind) {
    case FetchError::Kind::Unreachable:
      return "无法连接到服务器";
    case FetchError::Kind::Timeout:
      return "服务器没有及时应答";
    case FetchError::Kind::Gateway:
      return "平台拒绝了请求（错误代码 " + error.gateway_code + "）";
    default:
      return "";
  }
}

}  // namespace orvalen
