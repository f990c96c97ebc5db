// Shared pieces of the window's test programs: recorders for the window's
// two seams, and a main() that runs a QtTest class headless.
//
//   int main(int argc, char** argv) { return orvalen::test::RunGuiTest<MyTest>(argc, argv); }
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <memory>

#include "app/ExternalBrowser.h"
#include "app/WarningBox.h"

namespace orvalen::test {

// The URLs the window sent to the external browser.
class RecordingBrowser : public ExternalBrowser {
 public:
  void Open(const QUrl& url) override { opened.push_back(url.toString(QUrl::FullyEncoded)); }
  QStringList opened;
};

// The messages the window showed, answered at once.
class RecordingWarnings : public WarningBox {
 public:
  void Warn(QWidget*, const QString& title, const QString& text) override {
    titles.push_back(title);
    texts.push_back(text);
  }
  QStringList titles, texts;
};

// Closes the window and destroys it; how long that took, in milliseconds.
template <class Window>
qint64 CloseAndDestroy(std::unique_ptr<Window>& window) {
  QElapsedTimer timer;
  timer.start();
  window->close();
  window.reset();
  return timer.elapsed();
}

// Offscreen, with Chromium's flags for a headless machine, unless the
// environment says otherwise.
template <class TestClass>
int RunGuiTest(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  TestClass test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace orvalen::test
