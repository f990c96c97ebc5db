// FontCheck: whether the desktop has a font for the window's Chinese
// words; without one, every one of them is drawn as an empty box.
//
//   if (!ChineseFontInstalled()) say(kNoChineseFontLine);
//
// Asked of the toolkit's font database (fontconfig's), so any font that
// covers Simplified Chinese counts, not only the one the window names.
#pragma once

namespace orvalen {

// The package Debian installs the window's own font from.
inline constexpr const char* kChineseFontPackage = "fonts-wqy-microhei";

// Needs the QGuiApplication.
bool ChineseFontInstalled();

}  // namespace orvalen
