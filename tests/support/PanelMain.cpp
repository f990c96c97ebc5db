// test-panel: the tests' desktop panel (Panel.h) as a program of its own,
// for scripts/screenshots' small-screen desktop. Prints "reserved" once the
// window manager's work area leaves it out, then runs until killed.
//
//   build/tests/test-panel 32 &
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "support/Panel.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orvalen::test::Panel panel(argc > 1 ? std::atoi(argv[1]) : 32);
  if (!panel.Reserved()) return 1;
  std::puts("reserved");
  std::fflush(stdout);
  return QApplication::exec();
}
