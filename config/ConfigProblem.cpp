#include "config/ConfigProblem.h"

namespace orvalen {

std::optional<ConfigProblem> DescribeConfigProblem(const std::string& url, bool loaded,
                                                   const TXMLData& config,
                                                   const std::string& app_key) {
  if (loaded && !app_key.empty()) return std::nullopt;
  if (!loaded) {
    const FailureWords why = DescribeFailure(config.LastFailure());
    return ConfigProblem{{"无法读取配置文件（" + url + "）：" + why.zh,
                          "cannot read the configuration " + url + ": " + why.en},
                         config.LastFailure().message};
  }
  return ConfigProblem{{"配置文件（" + url + "）中没有应用密钥",
                        "the configuration " + url + " holds no application key (api/app_key)"},
                       {}};
}

}  // namespace orvalen
