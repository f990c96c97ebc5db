#include "sandbox/Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace orvalen::sandbox {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
  return out;
}

}  // namespace

std::optional<std::string> Gzip(std::string_view data) {
  z_stream z{};
  // 15 bits of window, +16: a gzip header and trailer rather than zlib's.
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return std::nullopt;
  const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, &deflateEnd);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) return std::nullopt;
  out.resize(z.total_out);
  return out;
}

bool AcceptsGzip(std::string_view accept_encoding) {
  const std::string header = Lower(accept_encoding);
  std::size_t start = 0;
  while (start < header.size()) {
    const std::size_t end = std::min(header.find(',', start), header.size());
    const std::string item = header.substr(start, end - start);
    const std::string coding = item.substr(0, item.find(';'));
    const bool refused =
        item.find(";q=0") != std::string::npos &&
        item.find_first_of("123456789", item.find(";q=0") + 4) == std::string::npos;
    if ((coding == "gzip" || coding == "*") && !refused) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace orvalen::sandbox
