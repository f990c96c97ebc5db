// ExternalBrowser: where the window sends marketplace pages. The program's
// own implementation is DesktopBrowser; tests hand in a recorder.
#pragma once

#include <QString>

namespace orvalen {

class ExternalBrowser {
 public:
  virtual ~ExternalBrowser() = default;
  // `url` is handed on exactly as written: re-encoding it could change the
  // address (a backslash in the path means '/' to a browser, %5C does not).
  virtual void Open(const QString& url) = 0;
};

}  // namespace orvalen
