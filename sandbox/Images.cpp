#include "sandbox/Images.h"

#include "marketdata/CreditGrades.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace orvalen::sandbox {
namespace {

constexpr int kCell = 16;  // one symbol, 15 px and a gap

enum Colour : std::uint8_t { kClear = 0, kRed, kBlue, kGold, kLight, kCount };

struct Rgb {
  std::uint8_t r, g, b;
};

// One symbol in a 16 x 16 cell: is the pixel inside, and in which colour.
Colour SymbolPixel(int grade, int x, int y) {
  const double u = (x - 7.0) / 6.5, v = (7.5 - y) / 6.5;  // centre-based, y up
  switch (grade) {
    case 0: {  // heart
      const double a = u * u + v * v - 1.0;
      return a * a * a - u * u * v * v * v <= 0.0 ? kRed : kClear;
    }
    case 1:  // diamond, lighter upper facet
      if (std::abs(u) + std::abs(v) > 1.0) return kClear;
      return v > 0.35 ? kLight : kBlue;
    default: {  // crown: a band with three spikes
      const Colour c = grade == 2 ? kBlue : kGold;
      if (v < -0.8 || v > 0.9) return kClear;
      if (v < -0.2) return std::abs(u) <= 0.9 ? c : kClear;
      const double spike = 0.9 - 1.1 * std::abs(std::fmod(std::abs(u) + 0.45, 0.9) - 0.45) / 0.45;
      return std::abs(u) <= 0.9 && v <= spike ? c : kClear;
    }
  }
}

void Put16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>(v >> 8));
}

// Image data as uncompressed LZW: with a 7-bit minimum code size every code
// is one byte wide as long as a clear code comes often enough.
std::string LzwData(const std::vector<std::uint8_t>& pixels) {
  constexpr std::uint8_t kClearCode = 128, kEnd = 129;
  std::string codes;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (i % 100 == 0) codes.push_back(static_cast<char>(kClearCode));
    codes.push_back(static_cast<char>(pixels[i]));
  }
  codes.push_back(static_cast<char>(kEnd));
  std::string out(1, 7);  // minimum code size
  for (std::size_t pos = 0; pos < codes.size(); pos += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - pos);
    out.push_back(static_cast<char>(n));
    out.append(codes, pos, n);
  }
  out.push_back(0);
  return out;
}

// A GIF of up to 128 colours; colour 0 may be transparent.
std::string Gif(int width, int height, const std::vector<std::uint8_t>& pixels,
                std::span<const Rgb> palette, bool transparent_first) {
  std::string gif = "GIF89a";
  Put16(gif, width);
  Put16(gif, height);
  gif += std::string("\xF6\x00\x00", 3);  // global table of 128 colours
  for (std::size_t i = 0; i < 128; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
    gif.push_back(static_cast<char>(c.r));
    gif.push_back(static_cast<char>(c.g));
    gif.push_back(static_cast<char>(c.b));
  }
  if (transparent_first) gif += std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);
  gif.push_back('\x2C');
  Put16(gif, 0);
  Put16(gif, 0);
  Put16(gif, width);
  Put16(gif, height);
  gif.push_back('\0');
  gif += LzwData(pixels);
  gif.push_back('\x3B');
  return gif;
}

}  // namespace

std::optional<int> BadgeLevel(std::string_view file_name) {
  for (int level = 1; level <= 20; ++level) {
    if (BadgeFileName(level) == file_name) return level;
  }
  return std::nullopt;
}

std::string BadgeGif(int level) {
  const int grade = (level - 1) / 5, count = (level - 1) % 5 + 1;
  const int width = kCell * count, height = 16;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), kClear);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (x % kCell < kCell - 1) pixels[y * width + x] = SymbolPixel(grade, x % kCell, y);
    }
  }
  static constexpr Rgb kPalette[kCount] = {
      {255, 255, 255}, {230, 30, 40}, {40, 110, 220}, {240, 180, 20}, {150, 200, 255}};
  return Gif(width, height, pixels, kPalette, /*transparent_first=*/true);
}

std::string ItemPictureGif(const Item& item, const Category& category) {
  // A product box on a background, in colours that follow the category.
  const unsigned hue = static_cast<unsigned>(category.parent_cid * 47 + category.cid * 13);
  const auto channel = [&](int shift, int base) {
    return static_cast<std::uint8_t>(base + (hue >> shift) % 60);
  };
  const Rgb palette[] = {{channel(0, 190), channel(3, 190), channel(6, 190)},
                         {channel(2, 60), channel(5, 60), channel(8, 60)},
                         {255, 255, 255}};
  constexpr int kSize = 160;
  std::vector<std::uint8_t> pixels(kSize * kSize, 0);
  for (int y = 30; y < 110; ++y) {
    for (int x = 35; x < 125; ++x) pixels[y * kSize + x] = 1;
  }
  // The item's number as a row of marks, so that pictures differ.
  for (int bit = 0; bit < 16; ++bit) {
    if ((item.iid >> bit) & 1) {
      for (int y = 125; y < 135; ++y) pixels[y * kSize + 20 + bit * 8] = 2;
    }
  }
  return Gif(kSize, kSize, pixels, palette, /*transparent_first=*/false);
}

}  // namespace orvalen::sandbox
