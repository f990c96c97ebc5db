#include "app/form/AppIcon.h"

#include "app/AppSettings.h"

namespace orvalen {

QIcon AppIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(kAppId)).arg(size),
                 QSize(size, size));
  }
  return icon;
}

}  // namespace orvalen
