// SkinData: the skin engine. A skin is a Qt style sheet in a folder of its
// own, next to the images it names; SkinData loads one, checks it (see
// SkinSheet) and applies it to a window, which passes it on to everything
// inside, message boxes included. Two skins are built in, "light" (the
// default) and "dark"; "none" leaves the toolkit's own look.
//
//   SkinData skin(ChooseSkin(option, std::getenv(kSkinVariable)), warn);
//   skin.Apply(window);
//
// A skin that cannot be read or does not parse gives one warning and the
// built-in skin instead; parts a skin may not use give a warning each and
// are left out.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace orvalen {

inline constexpr const char* kSkinVariable = "ORVALEN_SKIN";

// The option if given, else the variable if set and not empty, else "" (the built-in skin).
std::string ChooseSkin(const std::optional<std::string>& option, const char* variable);

class SkinData {
 public:
  using Warn = std::function<void(const QString& line)>;

  // `choice`: "" or "light" (built in), "dark", "none", or a skin file.
  SkinData(const std::string& choice, Warn warn);

  void Apply(QWidget* window) const;
  const QString& sheet() const { return sheet_; }  // empty without a skin
  // The results page's colours as CSS (see SkinSheet); empty: its own.
  const std::string& page_css() const { return page_css_; }
  const QString& name() const { return name_; }  // "light", "dark", "none" or the file

  // Shows a widget's new dynamic-property state under the skin (the footer
  // links' "hover").
  static void Repolish(QWidget* widget);

 private:
  bool Load(const QString& file, const QString& name);
  void LoadBuiltIn();

  Warn warn_;
  QString sheet_;
  std::string page_css_;
  QString name_;
};

}  // namespace orvalen
