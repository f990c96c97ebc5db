#include "app/form/core/ConfigProblem.h"

namespace orvalen {
namespace {

std::string DownloadCause(const TXMLData& config) {
  switch (config.LastDownloadFailure()) {
    case HttpResult::Failure::None:
      return "应答不是配置文件";
    case HttpResult::Failure::Unreachable:
      return "无法连接到服务器";
    case HttpResult::Failure::Timeout:
      return "服务器没有及时应答";
    case HttpResult::Failure::Status:
      return "服务器应答 HTTP " + std::to_string(config.LastStatus());
    case HttpResult::Failure::Transport:
    case HttpResult::Failure::TooLarge:
      break;
  }
  return "没有收到完整的应答";
}

}  // namespace

std::optional<ConfigProblem> DescribeConfigProblem(const std::string& url, bool loaded,
                                                   const TXMLData& config,
                                                   const std::string& app_key) {
  if (loaded && !app_key.empty()) return std::nullopt;
  const std::string where = "配置文件（" + url + "）";
  if (!loaded) {
    return ConfigProblem{"无法读取" + where + "：" + DownloadCause(config),
                         "configuration " + url + " not usable: " + config.LastError()};
  }
  return ConfigProblem{where + "中没有应用密钥",
                       "configuration " + url + " not usable: it holds no api/app_key"};
}

}  // namespace orvalen
