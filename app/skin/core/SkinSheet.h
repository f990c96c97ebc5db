// SkinSheet: a skin's Qt style sheet, checked before the window uses it.
// A skin may change how controls look (colours, backgrounds, borders,
// padding, the images of arrows and branches, font weight and style), never
// what they are: properties that set a control's Q_PROPERTYs (qproperty-*),
// its size (width, height and their limits, except on sub-controls such as
// ::down-arrow), its fonts or its icon size are left out. Images may come
// only from the skin's own folder or from the program's resources (":/...");
// relative paths are made absolute, since Qt would read them from the
// working directory.
//
// The checks do not judge how a skin looks: like any theme the user
// installs, a skin is trusted with colours and with the sizes of
// sub-controls, and can make a caption unreadable (text the colour of its
// background) or squash an item view's rows (::item's height). What it
// cannot do is change a control's text, place, size, font or properties.
//
// A rule for the selector ResultsPage gives the results page's colours, and
// colours only (#rgb, #rrggbb, rgb(r, g, b) or a colour's name): color (the
// text), background-color, border-color (the pictures' frames), link-color,
// link-hover-color and price-color. It becomes `page_css`, a style sheet
// for the page; without it the page keeps its own colours.
//
//   SkinSheetResult r = CheckSkinSheet(text, "/usr/share/orvalen/skins/dark");
//   if (!r.parsed) ... r.error ...;      // "line 3: '}' without an open rule"
//   window->setStyleSheet(QString::fromStdString(r.sheet));
//   for (auto& part : r.ignored) ...;    // "line 7: image: url(/etc/x.png): outside ..."
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalen {

struct SkinSheetResult {
  bool parsed = false;
  std::string error;                 // why the text does not parse
  std::string sheet;                 // what the window may use
  std::vector<std::string> ignored;  // each part left out, with its line and the reason
  std::string page_css;              // the results page's colours as CSS; empty: its own
};

// `folder` is the skin's folder: an absolute path, or a resource folder
// (":/skins/light").
SkinSheetResult CheckSkinSheet(std::string_view text, const std::string& folder);

}  // namespace orvalen
