// ToolkitWords: Qt's own texts (the message boxes' buttons, the text
// fields' menus) in the user's language, for as long as the object lives.
//
//   QApplication app(argc, argv);
//   const ToolkitWords words(QLocale());   // "OK" reads 确定 under zh_CN
//
// The translations are the ones Debian installs for Qt
// (qt6-translations-l10n); without them, or for English, Qt's English stays.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace orvalen {

class ToolkitWords {
 public:
  explicit ToolkitWords(const QLocale& locale);
  ~ToolkitWords();
  ToolkitWords(const ToolkitWords&) = delete;
  ToolkitWords& operator=(const ToolkitWords&) = delete;

  bool loaded() const { return loaded_; }

 private:
  QTranslator base_;
  bool loaded_ = false;
};

}  // namespace orvalen
