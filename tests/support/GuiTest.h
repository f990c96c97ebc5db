// Shared pieces of the window's test programs, and the headers they all
// use: recorders for the window's two seams, ways to open, drive and wait
// for a window, and a main() that runs a QtTest class headless.
//
//   int main(int argc, char** argv) { return orvalen::test::RunGuiTest<MyTest>(argc, argv); }
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringList>
#include <QStyleHints>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/form/ExternalBrowser.h"
#include "app/form/TForm1.h"
#include "app/form/WarningBox.h"
#include "app/form/core/CategoryList.h"
#include "app/skin/SkinData.h"
#include "sandbox/ConfigDocument.h"
#include "support/Await.h"
#include "support/SandboxRunner.h"
#include "support/TestServer.h"

namespace orvalen::test {

// The URLs the window sent to the external browser.
class RecordingBrowser : public ExternalBrowser {
 public:
  void Open(const QString& url) override { opened.push_back(url); }
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

// A window on `config_url`, shown, its seams recording into `browser` and
// `warnings` (made afresh); `adjust` may change its services first. The
// skin is the one $ORVALEN_SKIN names (the built-in one when unset), so
// that the window's tests can be run under any skin.
inline std::unique_ptr<TForm1> OpenWindow(const std::string& config_url,
                                          std::shared_ptr<RecordingBrowser>& browser,
                                          std::shared_ptr<RecordingWarnings>& warnings,
                                          const std::function<void(FormServices&)>& adjust = {}) {
  browser = std::make_shared<RecordingBrowser>();
  warnings = std::make_shared<RecordingWarnings>();
  FormServices services;
  services.config_url = config_url;
  services.browser = browser;
  services.warnings = warnings;
  services.skin = ChooseSkin(std::nullopt, std::getenv(kSkinVariable));
  if (adjust) adjust(services);
  auto form = std::make_unique<TForm1>(std::move(services));
  form->show();
  return form;
}

// How many top-level entries the window's tree shows for `sandbox`:
// "所有类目", then each top-level category of its catalogue (whatever its
// seed) that the window does not leave out.
inline int TreeTopLevel(const sandbox::SandboxServer& sandbox) {
  const auto& all = sandbox.catalogue().categories();
  return 1 + static_cast<int>(std::count_if(all.begin(), all.end(), [](const sandbox::Category& c) {
           return c.parent_cid == 0 && !IsExcludedCategory(c.name);
         }));
}

// What most window test classes hold: a sandbox for the whole program
// (made in initTestCase), and the recorders of the window opened last.
class SandboxWindows {
 protected:
  std::unique_ptr<TForm1> Open(const std::string& config_url) {
    return OpenWindow(config_url, browser_, warnings_);
  }

  std::unique_ptr<SandboxRunner> sandbox_;
  std::shared_ptr<RecordingBrowser> browser_;
  std::shared_ptr<RecordingWarnings> warnings_;
};

// A widget of the window by its object name; the test ends if there is none.
template <class W>
W* Find(QWidget& window, const char* name) {
  W* w = window.findChild<W*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("no widget %s", name);
  return w;
}

// What `script` returns, run in an isolated world of `page` (the page's own
// script stays off); the test ends if it has not run within 15 s.
inline QVariant Evaluate(QWebEnginePage* page, const QString& script) {
  QVariant result;
  bool done = false;
  page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
    result = v;
    done = true;
  });
  if (!Await([&] { return done; }, 15000)) qFatal("script did not run");
  return result;
}

// The same on the window's results view.
inline QWebEngineView* View(QWidget& form) {
  return Find<QWebEngineView>(form, "WebBrowser1");
}
inline QVariant Evaluate(QWidget& form, const QString& script) {
  return Evaluate(View(form)->page(), script);
}

// The window takes no click within the desktop's double-click interval
// after a page turn (it would be the turn's own second click). A test that
// acts on a page right after turning to it sets the interval to nothing
// while this lives.
class NoDoubleClickInterval {
 public:
  NoDoubleClickInterval() : kept_(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
  }
  ~NoDoubleClickInterval() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(kept_); }
  NoDoubleClickInterval(const NoDoubleClickInterval&) = delete;
  NoDoubleClickInterval& operator=(const NoDoubleClickInterval&) = delete;

 private:
  int kept_;
};

// Waits until the window's search has ended and the window is usable again.
inline void WaitIdle(TForm1& form) {
  QTRY_VERIFY_WITH_TIMEOUT(!form.SearchRunning() && Find<QPushButton>(form, "Button1")->isEnabled(),
                           15000);
}

// Waits for two frames drawn after now: whatever the page changed is on the screen.
inline void WaitForFrames(QWidget& form) {
  static int mark = 0;
  const QString id = QString::number(++mark);
  Evaluate(form, QStringLiteral("requestAnimationFrame(function () { requestAnimationFrame("
                                "function () { document.body.dataset.framed = '%1'; }); }); 0")
                     .arg(id));
  QTRY_COMPARE(Evaluate(form, QStringLiteral("document.body.dataset.framed")).toString(), id);
}

// The view of `form` goes to `url`, as a navigation the engine reports.
inline void Navigate(QWidget& form, const QString& url) {
  View(form)->setUrl(QUrl(url));
}

// The results page once it is shown (the `count`th Shown of `shown`), in
// the view, and usable.
inline void WaitShown(TForm1& form, QSignalSpy& shown, int count) {
  QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= count, 15000);
  WaitIdle(form);
  QTRY_VERIFY_WITH_TIMEOUT(
      Evaluate(form, QStringLiteral("!!document.querySelector('a[href=\"http://next/\"]')"))
          .toBool(),
      15000);
}

// The middle of the first element matching `selector`, scrolled into view
// and on the screen, in the view's coordinates. `block` says where the
// element goes: "center", or "nearest" (no scroll when it is in view).
inline QPoint ElementPoint(QWidget& form, const QString& selector,
                           const QString& block = QStringLiteral("center")) {
  const QVariantList xy =
      Evaluate(form, QStringLiteral("(function(){var a=document.querySelector('%1');"
                                    "a.scrollIntoView({block:'%2'});"
                                    "var r=a.getBoundingClientRect();"
                                    "return [r.left+r.width/2, r.top+r.height/2];})()")
                         .arg(selector, block))
          .toList();
  if (xy.size() != 2) qFatal("no element %s", qPrintable(selector));
  WaitForFrames(form);  // the scroll has reached the screen
  return QPoint(xy[0].toInt(), xy[1].toInt());
}

// A click on the first link matching `selector`, scrolled into view, as the
// mouse does it. The engine may take moments after a scroll before its
// input lands where the page now is: the mouse moves until the link itself
// is under it, and only then clicks.
inline void ClickLink(QWidget& form, const QString& selector,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPoint at = ElementPoint(form, selector);
  QWidget* surface = View(form)->focusProxy();
  const QString hovered =
      QStringLiteral("document.querySelector('%1').matches(':hover')").arg(selector);
  int wiggle = 0;
  const bool under = Await(
      [&] {
        QTest::mouseMove(surface, at + QPoint(wiggle++ % 2, 0));
        return Evaluate(form, hovered).toBool();
      },
      15000);
  if (!under) qFatal("the mouse never got over %s", qPrintable(selector));
  QTest::mouseClick(surface, button, modifiers, at + QPoint((wiggle - 1) % 2, 0));
}

// Serves a configuration at /cfg whose gateway, at /rest, answers each call
// with "<rsp>" + what `answer` returns for it + "</rsp>".
using CallAnswer = std::function<std::string(const httplib::Request&, httplib::Response&)>;
inline void ServePlatform(TestServer& server, CallAnswer answer) {
  server.Serve("/cfg", sandbox::ConfigDocument("key", "secret", server.Url("/rest")));
  server.Handle("/rest", [answer](const httplib::Request& req, httplib::Response& res) {
    res.set_content("<rsp>" + answer(req, res) + "</rsp>", "text/xml");
  });
}
inline std::string MethodOf(const httplib::Request& req) {
  return req.get_param_value("method");
}

// Offscreen (on a desktop-sized screen), with Chromium's flags for a
// headless machine, unless the environment says otherwise.
template <class TestClass>
int RunGuiTest(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", ORVALEN_OFFSCREEN);
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  TestClass test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace orvalen::test
