// NewWindowPage: stands in for a window or tab a link asked to open. It puts
// the address it is sent to through the same handler as the view's own
// navigations, loads nothing and goes.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace orvalen {

class NewWindowPage : public QWebEnginePage {
  Q_OBJECT
 public:
  NewWindowPage(QWebEngineProfile* profile, QObject* parent,
                std::function<bool(const QUrl&)> navigate);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;

 private:
  std::function<bool(const QUrl&)> navigate_;
};

}  // namespace orvalen
