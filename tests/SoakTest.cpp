// A long session against the sandbox: 1,000 searches mixing keywords,
// categories, filters and paging, with 100 category expansions, 100 seller
// links and 100 marketplace searches among them. Every search must end in
// one of its two outcomes, and the process's resident memory must not grow
// by more than 10% between the 100th and the 1,000th search. Prints the
// figures. Run by `scripts/test --extended`, not by the default suite.
#include <QFile>
#include <QProcess>
#include <cstdio>

#include "sandbox/Catalogue.h"
#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;

namespace {

long ResidentKiB() {
  QFile status(u"/proc/self/status"_s);
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return 0;
}

}  // namespace

class SoakTest : public QObject {
  Q_OBJECT

 private slots:
  void thousandSearches() {
    const int searches = qEnvironmentVariableIntValue("SOAK_SEARCHES") > 0
                             ? qEnvironmentVariableIntValue("SOAK_SEARCHES")
                             : 1000;
    // The sandbox runs as its own process: only the program's memory is measured.
    QProcess sandbox;
    sandbox.start(QStringLiteral(ORVALEN_SANDBOX_PATH), {u"--port"_s, u"0"_s});
    QVERIFY(sandbox.waitForReadyRead(10000));
    const QString base = QString::fromUtf8(sandbox.readLine()).trimmed().section(' ', 2);
    const std::string config_url =
        (base + QStringLiteral("taoke/3f9a1c5e7b2d4086a1e3c5b7d9f10234/"
                               "c4e6a8b0d2f41638e5a7c9b1d3f50789/api.php"))
            .toStdString();
    std::shared_ptr<test::RecordingBrowser> browser;
    std::shared_ptr<test::RecordingWarnings> warnings;
    auto window = test::OpenWindow(config_url, browser, warnings);
    TForm1& form = *window;
    auto* keyword = form.findChild<QLineEdit*>("Edit1");
    auto* search = form.findChild<QPushButton*>("Button1");
    auto* tree = form.findChild<QTreeWidget*>("TreeView1");
    auto* view = form.findChild<QWebEngineView*>("WebBrowser1");
    const auto idle = [&] { return !form.SearchRunning() && search->isEnabled(); };
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);

    const QStringList words{"MP3", "手机", "N97", "女装", "USB", "正品", "包邮", "LED", "", "数码"};
    const auto catalogue = sandbox::Catalogue::Generate(1, 20000);  // the sandbox's own
    const auto& sellers = catalogue.sellers();
    long rss_at_100 = 0;
    int expansions = 0, seller_links = 0, list_urls = 0;
    QElapsedTimer timer;
    timer.start();
    QSignalSpy shown(&form, &TForm1::ResultsShown);
    const test::NoDoubleClickInterval act_right_after_a_page_turn;
    for (int i = 1; i <= searches; ++i) {
      const qsizetype before = warnings->texts.size();
      const qsizetype pages_before = shown.count();
      if (i % 4 == 0) {  // a category, second level when loaded
        QTreeWidgetItem* top = tree->topLevelItem(1 + i % 54);
        if (i % 8 == 0 && expansions < 100) {
          top->setExpanded(true);
          ++expansions;
        }
        tree->setCurrentItem(top->childCount() > 0 && !top->child(0)->text(0).isEmpty()
                                 ? top->child(i % top->childCount())
                                 : top);
      } else if (i % 4 == 1 && i > 1) {  // the next page (the view reports it later)
        const int page = form.PageNo();
        view->setUrl(QUrl(u"http://next/"_s));
        QTRY_COMPARE_WITH_TIMEOUT(form.PageNo(), page + 1, 5000);
      } else {  // keyword and filters
        keyword->setText(words[i % words.size()]);
        form.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(i % 6);
        form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(i % 3 == 0 ? i % 63 : 0);
        form.findChild<QSpinBox*>("SpinEdit2")->setValue(i % 5 == 0 ? 500 : 0);
        search->click();
      }
      QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
      QVERIFY(warnings->texts.size() - before <= 1);  // one outcome: page or message
      // A found page is looked at, as a user would, before the next action.
      if (warnings->texts.size() == before)
        QTRY_VERIFY_WITH_TIMEOUT(shown.count() > pages_before, 20000);
      if (i % 10 == 5 && seller_links < 100) {
        view->setUrl(
            QUrl(QString::fromStdString("http://" + sellers[i % sellers.size()].nick + "/")));
        ++seller_links;
      }
      if (i % 10 == 7 && list_urls < 100) {
        keyword->setText(u"手机"_s);
        form.findChild<QPushButton*>("Button2")->click();
        ++list_urls;
      }
      if (i == 100) rss_at_100 = ResidentKiB();
      if (i % 100 == 0) std::printf("soak: search %d, resident memory %ld KiB\n", i, ResidentKiB());
    }
    QTRY_VERIFY(browser->opened.size() >= list_urls);
    const long rss_at_end = ResidentKiB();
    const double minutes = timer.elapsed() / 60000.0;
    std::printf(
        "soak: %d searches in %.1f min (%.0f per minute); %d expansions, %d seller links, "
        "%d marketplace searches; resident memory %ld KiB at search 100, %ld KiB at %d "
        "(%+.1f%%)\n",
        searches, minutes, searches / minutes, expansions, seller_links, list_urls, rss_at_100,
        rss_at_end, searches, 100.0 * (rss_at_end - rss_at_100) / rss_at_100);
    QVERIFY(rss_at_end <= rss_at_100 * 1.10);
    sandbox.terminate();
    sandbox.waitForFinished(5000);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<SoakTest>(argc, argv);
}

#include "SoakTest.moc"
