// ExternalBrowser: where the window sends marketplace pages. The program's
// own implementation is DesktopBrowser; tests hand in a recorder.
#pragma once

#include <QUrl>

namespace orvalen {

class ExternalBrowser {
 public:
  virtual ~ExternalBrowser() = default;
  virtual void Open(const QUrl& url) = 0;
};

}  // namespace orvalen
