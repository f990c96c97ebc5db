#include "app/DesktopBrowser.h"

#include <QDesktopServices>

namespace orvalen {

void DesktopBrowser::Open(const QUrl& url) {
  QDesktopServices::openUrl(url);
}

}  // namespace orvalen
