#include "app/NewWindowPage.h"

namespace orvalen {

NewWindowPage::NewWindowPage(QWebEngineProfile* profile, QObject* parent,
                             std::function<void(const QUrl&)> open_outside)
    : QWebEnginePage(profile, parent), open_outside_(std::move(open_outside)) {}

bool NewWindowPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  open_outside_(url);
  deleteLater();
  return false;
}

}  // namespace orvalen
