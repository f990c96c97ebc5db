// QrCode: a text as the modules of a QR code, encoded by libqrencode in
// byte mode (the text's UTF-8 bytes, exactly), error correction level M:
// readable with about 15% of the code damaged or glared.
//
//   const std::optional<QrCode> code = QrCode::Encode(click_url);
//   if (code) for each y, x < code->width(): code->Dark(x, y) ? black : white;
//   // and kQuietZone white modules around it
//
// None when the text is empty or longer than the largest code holds at
// level M (2,331 bytes).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace orvalen {

// The white border a reader needs around the code, in modules.
inline constexpr int kQuietZone = 4;

class QrCode {
 public:
  static std::optional<QrCode> Encode(std::string_view text);

  int width() const { return width_; }  // modules per side, without the quiet zone
  bool Dark(int x, int y) const { return modules_[static_cast<std::size_t>(y * width_ + x)]; }

 private:
  QrCode(int width, std::vector<bool> modules) : width_(width), modules_(std::move(modules)) {}

  int width_ = 0;
  std::vector<bool> modules_;
};

}  // namespace orvalen
