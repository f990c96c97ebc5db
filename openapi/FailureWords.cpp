#include "openapi/FailureWords.h"

namespace orvalen {
namespace {

using Kind = FetchError::Kind;

FailureWords GatewayWords(const std::string& code) {
  if (code == "31") {
    return {"电脑的日期和时间与平台相差超过 10 分钟，请校准电脑的时钟（错误代码 31）",
            "the computer's date and time differ from the platform's by more than 10 minutes; "
            "set the computer's clock right (platform code 31)"};
  }
  return {"平台拒绝了请求（错误代码 " + code + "）",
          "the platform refused the request (code " + code + ")"};
}

FailureWords NetworkWords(const FetchError& e) {
  switch (e.kind) {
    case Kind::NameNotFound:
      return {"找不到服务器（域名无法解析）", "the server's name was not found"};
    case Kind::Refused:
      return {"服务器拒绝了连接", "the server refused the connection"};
    case Kind::Unreachable:
      return {"无法连接到服务器", "the server cannot be reached"};
    case Kind::Proxy:
      return {"无法通过代理服务器 " + e.proxy + " 连接",
              "the proxy " + e.proxy + " could not be reached or would not go on"};
    case Kind::Timeout:
      return {"服务器没有及时应答", "the server did not answer in time"};
    case Kind::Reset:
      return {"连接在应答完整之前中断了", "the connection broke off before the answer was whole"};
    case Kind::CertificateUntrusted:
      return {"服务器的证书不受信任", "the server's certificate is not trusted"};
    case Kind::CertificateExpired:
      return {"服务器的证书已过期或尚未生效",
              "the server's certificate has expired or is not valid yet"};
    case Kind::CertificateWrongHost:
      return {"服务器的证书不是为这个地址颁发的",
              "the server's certificate was made for another host"};
    case Kind::Tls:
      return {"无法建立安全连接", "no secure connection could be made"};
    case Kind::HttpStatus:
      return {"服务器应答 HTTP " + std::to_string(e.status),
              "the server answered HTTP " + std::to_string(e.status)};
    case Kind::TooLarge:
      return {"应答过大", "the answer is too large"};
    default:
      return {"没有收到完整的应答", "no whole answer arrived"};
  }
}

}  // namespace

FailureWords DescribeFailure(const FetchError& e) {
  switch (e.kind) {
    case Kind::None:
      return {};
    case Kind::Precondition:
      return {"请求缺少必需的值（" + e.message + "）", "the request lacks a value: " + e.message};
    case Kind::Signing:
      return {"无法为请求签名（MD5 不可用）",
              "the request cannot be signed (MD5 is not available)"};
    case Kind::HtmlPage:
      return {"收到的是一个网页，而不是平台的应答（是否需要先登录网络？）",
              "an HTML page came back instead of the platform's answer (a network login page?)"};
    case Kind::NotWellFormed:
      return {"应答不是有效的 XML 文档", "the answer is not well-formed XML"};
    case Kind::NoMarker:
    case Kind::Parse:
      return {"应答中没有平台应有的内容", "the answer lacks what the platform's answers hold"};
    case Kind::Gateway:
      return GatewayWords(e.gateway_code);
    default:
      return NetworkWords(e);
  }
}

FailureWords DescribeLinkNotAWebAddress() {
  return {"平台给出的链接不是网址", "the link the platform gave is not a web address"};
}

}  // namespace orvalen
