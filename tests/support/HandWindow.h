// HandWindow: the results window for tests that play real input (Hand) on
// a desktop of their own: opened on a sandbox with its first results shown,
// active, the view holding the focus; where the page's elements are on the
// screen; the pointer moves xdotool plays.
//
//   class MyTest : public QObject, test::HandWindow { ...
//     Open(sandbox.server().config_url());
//     Hand::Now(MoveThen(At(Title(1)), {"click", "3"}));
#pragma once

#include <QClipboard>
#include <QProcess>

#include "support/GuiTest.h"
#include "support/Hand.h"

namespace orvalen::test {

inline Hand::Args Move(const QPoint& p) {
  return {"mousemove", std::to_string(p.x()), std::to_string(p.y())};
}
// A move to `p`, then what the hand does there.
inline Hand::Args MoveThen(const QPoint& p, const Hand::Args& then) {
  Hand::Args args = Move(p);
  args.insert(args.end(), then.begin(), then.end());
  return args;
}
// Two motions, so that the pointer moves even when it is already there.
inline Hand::Args Wiggle(const QPoint& p) {
  return {"mousemove", std::to_string(p.x()),     std::to_string(p.y()),
          "mousemove", std::to_string(p.x() + 3), std::to_string(p.y() + 2)};
}

// What another program reads from the X selection `which` (clipboard or
// primary): its targets, and its text; empty when nobody owns it.
struct Selection {
  QStringList targets;
  QString text;
};
inline Selection ReadSelection(const char* which) {
  const auto read = [which](const QStringList& extra) {
    QProcess xclip;
    xclip.start(
        QStringLiteral("xclip"),
        QStringList{QStringLiteral("-o"), QStringLiteral("-selection"), QLatin1String(which)} +
            extra);
    // The program under test answers the request from its own event loop.
    if (!test::Await([&] { return xclip.state() == QProcess::NotRunning; }, 15000))
      qFatal("xclip did not finish");
    return xclip.exitCode() == 0 ? QString::fromUtf8(xclip.readAllStandardOutput()) : QString();
  };
  return {read({QStringLiteral("-t"), QStringLiteral("TARGETS")})
              .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
          read({})};
}

class HandWindow {
 protected:
  std::shared_ptr<RecordingBrowser> browser_;
  std::shared_ptr<RecordingWarnings> warnings_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<QSignalSpy> shown_;

  // The window on `config_url` with its first results shown, active, the
  // view holding the focus.
  void Open(const std::string& config_url, const std::function<void(FormServices&)>& adjust = {}) {
    form_ = OpenWindow(config_url, browser_, warnings_, adjust);
    shown_ = std::make_unique<QSignalSpy>(form_.get(), &TForm1::ResultsShown);
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() >= 1, 15000);
    WaitIdle(*form_);
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    // A click on the page's margin gives the view the focus and follows nothing.
    QVERIFY(Hand::Now(MoveThen(OnScreen(QPoint(2, 2)), {"click", "1"})));
    QTRY_VERIFY(View()->isAncestorOf(QApplication::focusWidget()));
  }
  void Close() {
    shown_.reset();
    form_.reset();
  }
  QWidget* View() { return test::View(*form_)->focusProxy(); }
  QPoint OnScreen(const QPoint& in_view) { return View()->mapToGlobal(in_view); }
  // Scrolled only when out of view: input the hand has played may still be
  // on its way to the page, and must land where it was aimed.
  QPoint At(const QString& selector) {
    return OnScreen(ElementPoint(*form_, selector, QStringLiteral("nearest")));
  }
  QString TextOf(const QString& selector) {
    return Evaluate(*form_,
                    QStringLiteral("document.querySelector('%1').textContent").arg(selector))
        .toString();
  }
  // The items' links, in the order of the page.
  QStringList ClickUrls() {
    return Evaluate(*form_, QStringLiteral("Array.prototype.map.call(document.querySelectorAll("
                                           "'div.mydiv [role=heading] a'), function (a) {"
                                           "return a.getAttribute('href'); })"))
        .toStringList();
  }
  static QString Title(int card) {
    return QStringLiteral("div.mydiv:nth-of-type(%1) [role=heading] a").arg(card);
  }
  static QString Picture(int card) {
    return QStringLiteral("div.mydiv:nth-of-type(%1) > a[title] img").arg(card);
  }
  static QString Seller(int card) {
    return QStringLiteral("div.mydiv:nth-of-type(%1) > a:not([title])").arg(card);
  }
  static QString NextPage() { return QStringLiteral("a[href=\"http://next/\"]"); }
};

}  // namespace orvalen::test
