#include "app/skin/SkinData.h"

#include <QFile>
#include <QFileInfo>
#include <QStyle>
#include <QWidget>

#include "app/skin/core/SkinSheet.h"

namespace orvalen {
namespace {

constexpr const char* kBuiltInSkins[] = {"light", "dark", "contrast"};

QString BuiltInFile(const QString& name) {
  return QStringLiteral(":/skins/%1/%1.qss").arg(name);
}

bool IsBuiltIn(const std::string& choice) {
  for (const char* name : kBuiltInSkins) {
    if (choice == name) return true;
  }
  return false;
}

}  // namespace

std::string ChooseSkin(const std::optional<std::string>& option, const char* variable) {
  if (option) return *option;
  return variable != nullptr ? variable : "";
}

SkinData::SkinData(const std::string& choice, Warn warn) : warn_(std::move(warn)) {
  if (choice == "none") {
    name_ = QStringLiteral("none");
    return;
  }
  if (choice.empty() || IsBuiltIn(choice)) {
    const QString name = QString::fromStdString(choice.empty() ? "light" : choice);
    if (!Load(BuiltInFile(name), name)) LoadBuiltIn();
    return;
  }
  if (!Load(QString::fromStdString(choice), QString::fromStdString(choice))) LoadBuiltIn();
}

void SkinData::LoadBuiltIn() {
  Load(BuiltInFile(QStringLiteral("light")), QStringLiteral("light"));
}

bool SkinData::Load(const QString& file, const QString& name) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    warn_(QStringLiteral("cannot read the skin %1 (%2); using the built-in skin")
              .arg(file, in.errorString()));
    return false;
  }
  const QByteArray text = in.readAll();
  const QFileInfo info(file);
  const std::string folder = file.startsWith(QLatin1Char(':')) ? info.path().toStdString()
                                                               : info.absolutePath().toStdString();
  const SkinSheetResult checked = CheckSkinSheet(text.toStdString(), folder);
  if (!checked.parsed) {
    warn_(QStringLiteral("the skin %1 does not parse (%2); using the built-in skin")
              .arg(file, QString::fromStdString(checked.error)));
    return false;
  }
  for (const std::string& part : checked.ignored) {
    warn_(QStringLiteral("skin %1, %2; left out").arg(file, QString::fromStdString(part)));
  }
  sheet_ = QString::fromStdString(checked.sheet);
  page_css_ = checked.page_css;
  name_ = name;
  return true;
}

void SkinData::Apply(QWidget* window) const {
  window->setStyleSheet(sheet_);
}

void SkinData::Repolish(QWidget* widget) {
  widget->style()->unpolish(widget);
  widget->style()->polish(widget);
  widget->update();
}

}  // namespace orvalen
