// StopSignals: SIGTERM, SIGINT and SIGHUP end the event loop the way closing
// the window does, so that everything the window's program owns is cleaned
// up (its hold on the shared sandbox is let go).
//
//   StopSignals stop_signals;   // after the QApplication exists
//   QObject::connect(&stop_signals, &StopSignals::Received, &app, &QCoreApplication::quit);
//
// The handler only writes a byte to a socket pair; the notifier on the other
// end emits Received on the event loop's thread. One object per process.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace orvalen {

class StopSignals : public QObject {
  Q_OBJECT
 public:
  StopSignals();
  ~StopSignals() override;

 signals:
  void Received(int signal);

 private:
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvalen
