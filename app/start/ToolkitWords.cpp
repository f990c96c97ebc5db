#include "app/start/ToolkitWords.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orvalen {

ToolkitWords::ToolkitWords(const QLocale& locale) {
  loaded_ = base_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(&base_);
}

ToolkitWords::~ToolkitWords() {
  if (loaded_) QCoreApplication::removeTranslator(&base_);
}

}  // namespace orvalen
