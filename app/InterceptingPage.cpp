#include "app/InterceptingPage.h"

#include <QWebEngineSettings>

#include "app/NewWindowPage.h"

namespace orvalen {

InterceptingPage::InterceptingPage(QObject* parent, Navigate navigate)
    : QWebEnginePage(parent), navigate_(std::move(navigate)) {
  // The pages are the program's own text and need no script.
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  // The page is the program's own text: it reads no local files.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
}

bool InterceptingPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  if (own_page_pending_ && url.scheme() == QLatin1String("data")) {
    own_page_pending_ = false;
    return true;
  }
  return navigate_(url);
}

QWebEnginePage* InterceptingPage::createWindow(WebWindowType) {
  return new NewWindowPage(profile(), this, navigate_);
}

}  // namespace orvalen
