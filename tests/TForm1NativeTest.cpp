// The window as the window system sees it, under a real X server (the test
// runs under xvfb-run): the title bar's text at rest and while a search
// runs, and where the window is placed. Read back with xprop and xwininfo,
// not from the widget's own properties. The program itself, run as the
// desktop entry runs it, shows the entry's window class and its icon.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <atomic>

#include "app/AppSettings.h"
#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;

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
      Run(u"xprop"_s, {u"-id"_s, QString::number(window.winId()), u"_NET_WM_NAME"_s});
  const qsizetype first = out.indexOf(QLatin1Char('"')), last = out.lastIndexOf(QLatin1Char('"'));
  return first >= 0 && last > first ? out.mid(first + 1, last - first - 1) : out;
}

QPoint NativePosition(QWidget& window) {
  const auto xy = QRegularExpression(
                      u"Absolute upper-left X:\\s+(-?\\d+)\\s+Absolute upper-left Y:\\s+(-?\\d+)"_s)
                      .match(Run(u"xwininfo"_s, {u"-id"_s, QString::number(window.winId())}));
  return QPoint(xy.captured(1).toInt(), xy.captured(2).toInt());
}

}  // namespace

class TForm1NativeTest : public QObject {
  Q_OBJECT

 private slots:
  void titleBarShowsExactlyTheCaptionAndTheWindowItsPlace() {
    test::TestServer server;
    std::atomic<bool> release{false};
    test::ServePlatform(server, [&](const httplib::Request& req, httplib::Response&) {
      while (test::MethodOf(req) == "taobao.taobaoke.items.get" && !release && !server.Stopping())
        server.Pause(std::chrono::milliseconds(10));
      return std::string("<totalResults>0</totalResults>");
    });
    const QString caption = QString::fromUtf8(kAppCaption.data(), kAppCaption.size());
    const QString searching = u"正在搜索商品,请稍等......"_s;
    std::shared_ptr<test::RecordingBrowser> browser;
    std::shared_ptr<test::RecordingWarnings> warnings;
    auto form = test::OpenWindow(server.Url("/cfg"), browser, warnings);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(NativeTitle(*form), searching);  // the first search is held
    QCOMPARE(NativePosition(*form), QPoint(44, 17));
    release = true;
    QTRY_VERIFY_WITH_TIMEOUT(!form->SearchRunning(), 15000);
    QTRY_COMPARE(NativeTitle(*form), caption);
    release = false;
    QTest::mouseClick(form->findChild<QWidget*>(u"Button1"_s), Qt::LeftButton);
    QTRY_COMPARE(NativeTitle(*form), searching);
    release = true;
    QTRY_VERIFY_WITH_TIMEOUT(!form->SearchRunning(), 15000);
    QTRY_COMPARE(NativeTitle(*form), caption);
  }

  // The program itself, as the desktop entry starts it: the window system
  // sees the class the entry names for the window and the program's icon.
  void theProgramsWindowMatchesItsDesktopEntry() {
    QFile entry(QStringLiteral(ORVALEN_DESKTOP_ENTRY));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    const QString wm_class =
        QRegularExpression(u"(?m)^StartupWMClass=(.*)$"_s).match(text).captured(1);
    QVERIFY(!wm_class.isEmpty());

    test::TestServer server;  // serves no configuration: the window opens all the same
    QProcess program;
    program.start(QStringLiteral(ORVALEN_WINDOW_PATH),
                  {u"--config"_s, QString::fromStdString(server.Url("/none"))});
    QVERIFY(program.waitForStarted());
    // xwininfo -tree lists each window as: 0xID "title": ("instance" "class") WxH...
    const QRegularExpression listed(
        u"(0x[0-9a-f]+) \"[^\n]*\": \\(\"[^\"]*\" \"%1\"\\)\\s+945x681"_s.arg(
            QRegularExpression::escape(wm_class)));
    QString window_id;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(window_id = listed.match(Run(u"xwininfo"_s, {u"-root"_s, u"-tree"_s})).captured(1))
             .isEmpty(),
        30000);
    const QString icon = Run(u"xprop"_s, {u"-id"_s, window_id, u"_NET_WM_ICON"_s});
    for (const char* size : {"Icon (16 x 16)", "Icon (48 x 48)", "Icon (128 x 128)"})
      QVERIFY2(icon.contains(QLatin1String(size)), size);
    program.terminate();  // SIGTERM ends it like closing the window
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1NativeTest>(argc, argv);
}

#include "TForm1NativeTest.moc"
