#include "app/form/DesktopBrowser.h"

#include <QProcess>

namespace orvalen {

// Not QDesktopServices: it hands the desktop the toolkit's re-encoding of
// the address, not the address. Without xdg-open, the browsers BROWSER
// names (a colon-separated list, as xdg-open reads it) are tried in turn.
void DesktopBrowser::Open(const QString& url) {
  if (QProcess::startDetached(QStringLiteral("xdg-open"), {url})) return;
  const QStringList browsers =
      qEnvironmentVariable("BROWSER").split(QLatin1Char(':'), Qt::SkipEmptyParts);
  for (const QString& browser : browsers) {
    if (QProcess::startDetached(browser, {url})) return;
  }
}

}  // namespace orvalen
