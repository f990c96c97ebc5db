// BusyCursor: shows the wait cursor while a blocking call runs on the
// user-interface thread.
#pragma once

#include <QApplication>

namespace orvalen {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace orvalen
