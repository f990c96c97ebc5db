#include "app/InterceptingPage.h"

#include <QWebEngineSettings>

#include "app/NewWindowPage.h"

namespace orvalen {

InterceptingPage::InterceptingPage(QObject* parent, BeforeNavigate before_navigate,
                                   OpenOutside open_outside)
    : QWebEnginePage(parent),
      before_navigate_(std::move(before_navigate)),
      open_outside_(std::move(open_outside)) {
  // The pages are the program's own text and need no script.
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
}

bool InterceptingPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool main_frame) {
  // The page text itself arrives as a data: URL; only real navigations are asked about.
  if (!main_frame || url.scheme() == QLatin1String("data")) return true;
  return !before_navigate_(url);
}

QWebEnginePage* InterceptingPage::createWindow(WebWindowType) {
  return new NewWindowPage(profile(), this, open_outside_);
}

}  // namespace orvalen
