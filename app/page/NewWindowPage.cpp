#include "app/page/NewWindowPage.h"

#include "app/page/LinkDecision.h"
#include "app/page/PageGuard.h"

namespace orvalen {

NewWindowPage::NewWindowPage(QWebEngineProfile* profile, QObject* parent,
                             std::function<bool(const QUrl&)> navigate)
    : QWebEnginePage(profile, parent), navigate_(std::move(navigate)) {
  setUrlRequestInterceptor(new PageRequestGuard(this));
}

bool NewWindowPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  // A new window starts empty; the link's own address is the one that follows.
  if (IsBlankPage(url)) return true;
  navigate_(url);  // whatever it allows, nothing is loaded here
  deleteLater();
  return false;
}

}  // namespace orvalen
