// Word lists the sandbox's catalogue is generated from.
#pragma once

#include <span>
#include <string_view>

namespace orvalen::sandbox {

struct CityState {
  std::string_view city;
  std::string_view state;
};

std::span<const std::string_view> Provinces();
std::span<const CityState> Cities();         // cities with their province (or themselves)
std::span<const std::string_view> Abroad();  // countries and regions outside the mainland

std::span<const std::string_view> ChineseBrands();
std::span<const std::string_view> LatinWords();  // brand and model words: MP3, N97, ...
std::span<const std::string_view> TitlePrefixes();
std::span<const std::string_view> TitleSuffixes();

std::span<const std::string_view> NickHeads();  // Chinese nick parts
std::span<const std::string_view> NickTails();
std::span<const std::string_view> LatinNickParts();

}  // namespace orvalen::sandbox
