#include "app/DesktopBrowser.h"

#include <QProcess>

namespace orvalen {

// Not QDesktopServices: it hands the desktop the toolkit's re-encoding of
// the address, not the address.
void DesktopBrowser::Open(const QString& url) {
  QProcess::startDetached(QStringLiteral("xdg-open"), {url});
}

}  // namespace orvalen
