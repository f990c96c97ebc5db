// NewWindowPage: stands in for a window a link asked to open. It takes the
// first address it is sent to, hands it to the external browser and goes.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace orvalen {

class NewWindowPage : public QWebEnginePage {
  Q_OBJECT
 public:
  NewWindowPage(QWebEngineProfile* profile, QObject* parent,
                std::function<void(const QUrl&)> open_outside);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;

 private:
  std::function<void(const QUrl&)> open_outside_;
};

}  // namespace orvalen
