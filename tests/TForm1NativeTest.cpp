// The window as the window system sees it, under a real X server (the test
// runs under xvfb-run): the title bar's text at rest and while a search
// runs, and where the window is placed. Read back with xprop and xwininfo,
// not from the widget's own properties.
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <atomic>

#include "app/AppSettings.h"
#include "app/TForm1.h"
#include "sandbox/ConfigDocument.h"
#include "support/GuiTest.h"
#include "support/TestServer.h"

using namespace orvalen;

namespace {

QString Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(5000)) qFatal("%s did not finish", qPrintable(program));
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The title the window system holds for the window.
QString NativeTitle(QWidget& window) {
  const QString out =
      Run(QStringLiteral("xprop"),
          {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("_NET_WM_NAME")});
  const qsizetype first = out.indexOf(QLatin1Char('"')), last = out.lastIndexOf(QLatin1Char('"'));
  return first >= 0 && last > first ? out.mid(first + 1, last - first - 1) : out;
}

QPoint NativePosition(QWidget& window) {
  const QString out =
      Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window.winId())});
  const auto x =
      QRegularExpression(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)")).match(out);
  const auto y =
      QRegularExpression(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)")).match(out);
  return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

}  // namespace

class TForm1NativeTest : public QObject {
  Q_OBJECT

 private slots:
  void titleBarShowsExactlyTheCaptionAndTheWindowItsPlace() {
    test::TestServer server;
    std::atomic<bool> release{false};
    server.Serve("/cfg", sandbox::ConfigDocument("key", "secret", server.Url("/rest")));
    server.Handle("/rest", [&](const httplib::Request& req, httplib::Response& res) {
      if (req.get_param_value("method") == "taobao.taobaoke.items.get") {
        while (!release && !server.Stopping()) server.Pause(std::chrono::milliseconds(10));
      }
      res.set_content("<rsp><totalResults>0</totalResults></rsp>", "text/xml");
    });
    const QString caption = QString::fromUtf8(kAppCaption.data(), kAppCaption.size());
    const QString searching = QStringLiteral("正在搜索商品,请稍等......");
    auto browser = std::make_shared<test::RecordingBrowser>();
    auto warnings = std::make_shared<test::RecordingWarnings>();
    auto form = std::make_unique<TForm1>(FormServices{server.Url("/cfg"), browser, warnings, {}});
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(NativeTitle(*form), searching);  // the first search is held
    QCOMPARE(NativePosition(*form), QPoint(44, 17));
    release = true;
    QTRY_VERIFY_WITH_TIMEOUT(!form->SearchRunning(), 15000);
    QTRY_COMPARE(NativeTitle(*form), caption);
    release = false;
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTRY_COMPARE(NativeTitle(*form), searching);
    release = true;
    QTRY_VERIFY_WITH_TIMEOUT(!form->SearchRunning(), 15000);
    QTRY_COMPARE(NativeTitle(*form), caption);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1NativeTest>(argc, argv);
}

#include "TForm1NativeTest.moc"
