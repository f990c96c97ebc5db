// Panel: a desktop panel along the top of the screen, as GNOME's or a
// netbook's is: a dock window that reserves its height (a strut), so that
// the window manager's work area starts below it. For tests on a desktop
// of their own (desktop-session.sh).
//
//   test::Panel panel(32);
//   QVERIFY(panel.Reserved());   // the work area has shrunk
#pragma once

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "support/Await.h"

namespace orvalen::test {

class Panel : public QWidget {
 public:
  explicit Panel(int height) : height_(height) {
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setStyleSheet(QStringLiteral("background: #303030"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    setGeometry(0, 0, screen.width(), height);
    show();
  }

  // True once the window manager's work area leaves the panel out.
  bool Reserved() {
    if (!QTest::qWaitForWindowExposed(this)) return false;
    const QString id = QString::number(winId());
    const QString strut = QStringLiteral("0, 0, %1, 0, 0, 0, 0, 0, 0, %2, 0, 0")
                              .arg(height_)
                              .arg(QGuiApplication::primaryScreen()->geometry().width() - 1);
    QProcess::execute(QStringLiteral("xprop"),
                      {QStringLiteral("-id"), id, QStringLiteral("-f"),
                       QStringLiteral("_NET_WM_STRUT_PARTIAL"), QStringLiteral("32c"),
                       QStringLiteral("-set"), QStringLiteral("_NET_WM_STRUT_PARTIAL"), strut});
    return Await(
        [this] { return QGuiApplication::primaryScreen()->availableGeometry().top() >= height_; },
        10000);
  }

 private:
  int height_;
};

}  // namespace orvalen::test
