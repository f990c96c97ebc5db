#include "app/form/core/ShareText.h"

namespace orvalen {

std::string ShareText(const Info& row) {
  std::string text;
  const auto line = [&text](const std::string& value) {
    if (value.empty()) return;
    if (!text.empty()) text += '\n';
    text += value;
  };
  line(row.title);
  line(row.price.empty() ? "" : "价格：" + row.price + " 元");
  line(row.click_url);
  return text;
}

}  // namespace orvalen
