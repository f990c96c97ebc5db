// InterceptingPage: the results view's page. Every main-frame navigation is
// put to a handler first, which may cancel it; links that ask for a new
// window (target="_blank") open in the external browser instead.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace orvalen {

class InterceptingPage : public QWebEnginePage {
  Q_OBJECT
 public:
  using BeforeNavigate = std::function<bool(const QUrl& url)>;  // true: cancel
  using OpenOutside = std::function<void(const QUrl& url)>;

  InterceptingPage(QObject* parent, BeforeNavigate before_navigate, OpenOutside open_outside);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  BeforeNavigate before_navigate_;
  OpenOutside open_outside_;
};

}  // namespace orvalen
