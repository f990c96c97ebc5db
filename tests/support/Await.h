// Await: waits for a condition with the event loop running, as QTRY_* does.
// QTest::qWaitFor sleeps between passes of the event loop, and the web
// engine, whose work the loop drives, then takes seconds to draw a frame.
//
//   if (!test::Await([&] { return done; }, 15000)) qFatal("...");
#pragma once

#include <QElapsedTimer>
#include <QTest>

namespace orvalen::test {

template <class Condition>
bool Await(Condition condition, int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > milliseconds) return false;
    QTest::qWait(10);
  }
  return true;
}

}  // namespace orvalen::test
