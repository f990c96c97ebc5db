// Fuzzes StripTags: whatever the title, the result holds no complete tag
// (no "<" with a ">" somewhere after it) and never grows.
#include <cstddef>
#include <cstdint>

#include "openapi/TaobaokeItem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view title(reinterpret_cast<const char*>(data), size);
  const std::string out = orvalen::StripTags(title);
  const std::size_t open = out.find('<');
  if (open != std::string::npos && out.find('>', open) != std::string::npos) __builtin_trap();
  if (out.size() > title.size()) __builtin_trap();
  return 0;
}
