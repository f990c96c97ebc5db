// DesktopBrowser: opens URLs in the user's default web browser (through
// xdg-open, which honours BROWSER). Failures are not reported.
#pragma once

#include "app/ExternalBrowser.h"

namespace orvalen {

class DesktopBrowser : public ExternalBrowser {
 public:
  void Open(const QUrl& url) override;
};

}  // namespace orvalen
