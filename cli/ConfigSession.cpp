#include "cli/ConfigSession.h"

namespace orvalen {

std::optional<ConfigProblem> ConfigSession::Ensure() {
  if (loaded_) return std::nullopt;
  keys_ = {};
  const bool loaded = config_.LoadKeys(url_, keys_.key, keys_.secret);
  auto problem = DescribeConfigProblem(url_, loaded, config_, keys_.key);
  loaded_ = !problem;
  return problem;
}

}  // namespace orvalen
