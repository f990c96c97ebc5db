#include "app/page/InterceptingPage.h"

#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <algorithm>

#include "app/page/NewWindowPage.h"
#include "app/page/PageGuard.h"

namespace orvalen {

InterceptingPage::InterceptingPage(QObject* parent, Navigate navigate)
    : QWebEnginePage(parent), navigate_(std::move(navigate)) {
  // The pages are the program's own text and need no script.
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  // The page is the program's own text: it reads no local files.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  scripts().insert(PageGuardScript());
  setUrlRequestInterceptor(new PageRequestGuard(this));
}

void InterceptingPage::ExpectOwnPage(const QString& html) {
  own_pages_.push_back(html.toUtf8());
  // A page replaced before it started loading is never seen: keep a few.
  constexpr std::size_t kKept = 4;
  if (own_pages_.size() > kKept) own_pages_.pop_front();
}

// Whether `url` is a data: URL carrying one of the pages the program set.
bool InterceptingPage::IsOwnPage(const QUrl& url) {
  if (url.scheme() != QLatin1String("data")) return false;
  const QByteArray encoded = url.toEncoded();
  const qsizetype comma = encoded.indexOf(',');
  if (comma < 0) return false;
  const QByteArray head = encoded.left(comma);
  const QByteArray payload = encoded.mid(comma + 1);
  const QByteArray text = head.endsWith(";base64") ? QByteArray::fromBase64(payload)
                                                   : QByteArray::fromPercentEncoding(payload);
  const auto it = std::find(own_pages_.begin(), own_pages_.end(), text);
  if (it == own_pages_.end()) return false;
  own_pages_.erase(own_pages_.begin(), it + 1);  // earlier ones were replaced
  return true;
}

bool InterceptingPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  return IsOwnPage(url) || navigate_(url);
}

QWebEnginePage* InterceptingPage::createWindow(WebWindowType) {
  return new NewWindowPage(profile(), this, navigate_);
}

}  // namespace orvalen
