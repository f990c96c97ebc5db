#include "support/QrRead.h"

#include <zbar.h>

#include <memory>

namespace orvalen::test {
namespace {

// zbar.h declares its C interface in namespace zbar when read as C++.
using namespace zbar;

struct ScannerFree {
  void operator()(zbar_image_scanner_t* s) const { zbar_image_scanner_destroy(s); }
};
struct ImageFree {
  void operator()(zbar_image_t* i) const { zbar_image_destroy(i); }
};

}  // namespace

std::vector<std::string> ReadQrCodes(const QImage& picture) {
  const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
  // zbar wants rows without padding.
  std::vector<unsigned char> pixels;
  pixels.reserve(static_cast<std::size_t>(grey.width() * grey.height()));
  for (int y = 0; y < grey.height(); ++y) {
    const uchar* row = grey.constScanLine(y);
    pixels.insert(pixels.end(), row, row + grey.width());
  }
  const std::unique_ptr<zbar_image_scanner_t, ScannerFree> scanner(zbar_image_scanner_create());
  zbar_image_scanner_set_config(scanner.get(), ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(scanner.get(), ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
  zbar_image_scanner_set_config(scanner.get(), ZBAR_QRCODE, ZBAR_CFG_BINARY, 1);
  const std::unique_ptr<zbar_image_t, ImageFree> image(zbar_image_create());
  zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar_image_set_size(image.get(), static_cast<unsigned>(grey.width()),
                      static_cast<unsigned>(grey.height()));
  zbar_image_set_data(image.get(), pixels.data(), pixels.size(), nullptr);
  std::vector<std::string> found;
  if (zbar_scan_image(scanner.get(), image.get()) <= 0) return found;
  for (const zbar_symbol_t* s = zbar_image_first_symbol(image.get()); s != nullptr;
       s = zbar_symbol_next(s)) {
    found.emplace_back(zbar_symbol_get_data(s), zbar_symbol_get_data_length(s));
  }
  return found;
}

}  // namespace orvalen::test
