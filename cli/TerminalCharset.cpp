#include "cli/TerminalCharset.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>

namespace orvalen {
namespace {

// Owns an iconv descriptor; none when the pair of sets is unknown.
struct Converter {
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }

  iconv_t cd;
};

bool IsUtf8Name(const std::string& name) {
  return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8" ||
         name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII";
}

// The length of the UTF-8 sequence that starts with `lead` (1 for a byte
// that cannot start one, so that it is passed over alone).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Runs `converter` over `in`, appending to `out`; calls `on_bad(in, left)`
// at a sequence it cannot convert, which says how many bytes to pass over
// (0: give up). True when all of `in` was converted or passed over.
template <class OnBad>
bool Convert(const Converter& converter, std::string_view in, std::string& out, OnBad on_bad) {
  char* next = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char buffer[512];
  while (left > 0) {
    char* to = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t done = iconv(converter.cd, &next, &left, &to, &room);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    const std::size_t skip = on_bad(next, left);
    if (skip == 0) return false;
    next += std::min(skip, left);
    left -= std::min(skip, left);
  }
  return true;
}

}  // namespace

TerminalCharset::TerminalCharset(std::string name)
    : name_(std::move(name)), utf8_(IsUtf8Name(name_)) {}

TerminalCharset TerminalCharset::OfLocale() {
  const char* codeset = nl_langinfo(CODESET);
  return TerminalCharset(codeset != nullptr && *codeset != '\0' ? codeset : "UTF-8");
}

std::optional<std::string> TerminalCharset::Decode(std::string_view text) const {
  const Converter converter("UTF-8", utf8_ ? "UTF-8" : name_.c_str());
  if (!converter.ok()) return std::nullopt;
  std::string out;
  if (!Convert(converter, text, out, [](const char*, std::size_t) { return 0; })) {
    return std::nullopt;
  }
  return out;
}

std::string TerminalCharset::Encode(std::string_view utf8) const {
  if (utf8_) return std::string(utf8);
  const Converter converter(name_.c_str(), "UTF-8");
  if (!converter.ok()) return std::string(utf8);
  std::string out;
  Convert(converter, utf8, out, [&out](const char* at, std::size_t) {
    out += '?';
    return SequenceLength(static_cast<unsigned char>(*at));
  });
  return out;
}

}  // namespace orvalen
