#include "app/form/FontCheck.h"

#include <QFontDatabase>
#include <QStringList>

namespace orvalen {

bool ChineseFontInstalled() {
  return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

}  // namespace orvalen
