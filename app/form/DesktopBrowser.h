// DesktopBrowser: opens URLs in the user's default web browser through
// xdg-open (which honours BROWSER), with the address as its one argument,
// unchanged. Failures are not reported.
#pragma once

#include "app/form/ExternalBrowser.h"

namespace orvalen {

class DesktopBrowser : public ExternalBrowser {
 public:
  void Open(const QString& url) override;
};

}  // namespace orvalen
