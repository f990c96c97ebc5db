#include "app/form/core/QrCode.h"

#include <qrencode.h>

#include <memory>
#include <string>

namespace orvalen {
namespace {

struct FreeCode {
  void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

std::optional<QrCode> QrCode::Encode(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string bytes(text);  // the encoder reads a C string
  if (bytes.find('\0') != std::string::npos) return std::nullopt;
  const std::unique_ptr<QRcode, FreeCode> code(
      QRcode_encodeString8bit(bytes.c_str(), 0, QR_ECLEVEL_M));
  if (!code) return std::nullopt;
  std::vector<bool> modules(static_cast<std::size_t>(code->width * code->width));
  for (std::size_t i = 0; i < modules.size(); ++i) modules[i] = (code->data[i] & 1) != 0;
  return QrCode(code->width, std::move(modules));
}

}  // namespace orvalen
