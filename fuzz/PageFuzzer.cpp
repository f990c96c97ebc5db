// Fuzzes the results page: rows come from the bytes (fields split at NUL,
// rows at 0x01). Whatever they hold, the page has exactly the markup of the
// same page built from harmless values: no markup comes from the rows.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "app/page/core/ResultsPage.h"
#include "platform/WebAddress.h"

namespace {

orvalen::PInfo Rows(std::string_view bytes) {
  orvalen::PInfo rows(1);
  int field = 0;
  std::string* fields[7];
  const auto bind = [&](orvalen::Info& r) {
    std::string* f[] = {&r.pic_url, &r.price,    &r.title,    &r.click_url,
                        &r.nick,    &r.location, &r.badge_url};
    std::copy(std::begin(f), std::end(f), fields);
  };
  bind(rows.back());
  for (const char c : bytes) {
    if (c == '\x01' && rows.size() < 45) {
      rows.emplace_back();
      bind(rows.back());
      field = 0;
    } else if (c == '\0') {
      field = (field + 1) % 7;
    } else {
      fields[field]->push_back(c);
    }
  }
  return rows;
}

// Harmless twin: the same fields, non-empty where the original is, and a
// web address where the original is one (pictures and click URLs).
orvalen::PInfo Twin(const orvalen::PInfo& rows) {
  orvalen::PInfo twin = rows;
  for (orvalen::Info& r : twin) {
    for (std::string* f : {&r.price, &r.title, &r.nick, &r.location}) {
      if (!f->empty()) *f = "x";
    }
    for (std::string* f : {&r.pic_url, &r.badge_url, &r.click_url}) {
      if (!f->empty()) *f = orvalen::IsWebAddress(*f) ? "http://x/" : "x";
    }
  }
  return twin;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const orvalen::PInfo rows = Rows(bytes);
  const std::string page = orvalen::BuildResultsPage(rows);
  const std::string twin = orvalen::BuildResultsPage(Twin(rows));
  for (const char markup : {'<', '>', '"', '\''}) {
    if (std::count(page.begin(), page.end(), markup) !=
        std::count(twin.begin(), twin.end(), markup)) {
      __builtin_trap();
    }
  }
  return 0;
}
