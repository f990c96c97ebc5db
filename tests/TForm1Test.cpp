// The window, driven as a user would: widgets found by name, events sent
// with QTest, outcomes awaited with QTRY_*; against the sandbox, or against
// test servers where a gateway must misbehave.
#include "app/form/TForm1.h"
#include "support/GuiTest.h"

#include <QRegularExpression>
#include <QWebEngineSettings>
#include <atomic>
#include <vector>

#include "app/AppSettings.h"
#include "marketdata/CreditGrades.h"
#include "support/ChildProcess.h"
#include "support/TestCertificate.h"
#include "support/TlsServer.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using orvalen::test::Evaluate;
using orvalen::test::Find;
using orvalen::test::Navigate;
using orvalen::test::WaitIdle;
using orvalen::test::WaitShown;

namespace {

QString Caption() {
  return QString::fromUtf8(kAppCaption.data(), kAppCaption.size());
}

}  // namespace

class TForm1Test : public QObject, test::SandboxWindows {
  Q_OBJECT

 private:
  static QStringList TopLevel(TForm1& form) {
    QStringList names;
    auto* tree = Find<QTreeWidget>(form, "TreeView1");
    for (int i = 0; i < tree->topLevelItemCount(); ++i) names << tree->topLevelItem(i)->text(0);
    return names;
  }

 private slots:
  void initTestCase() { sandbox_ = std::make_unique<test::SandboxRunner>(3000); }
  void cleanupTestCase() { sandbox_.reset(); }

  void startsWithTheTreeAndAFirstSearchOverAllCategories() {
    auto form = Open(sandbox_->server().config_url());
    WaitIdle(*form);
    const QStringList top = TopLevel(*form);
    QCOMPARE(top.size(), test::TreeTopLevel(sandbox_->server()));
    QCOMPARE(top.first(), u"所有类目"_s);
    QVERIFY(!top.contains(u"腾讯QQ专区"_s));
    QVERIFY(!top.contains(u"世博会特许商品"_s));
    QCOMPARE(form->windowTitle(), Caption());
    QCOMPARE(Find<QLineEdit>(*form, "Edit2")->text(), u"所有类目"_s);
    QCOMPARE(Find<QComboBox>(*form, "ComboBoxEx1")->currentIndex(), 0);
    // The credit range starts open: up to the highest grade, five golden crowns.
    QCOMPARE(Find<QComboBox>(*form, "ComboBoxEx2")->currentIndex(), int(CreditKeys().size()) - 1);
    QCOMPARE(QString::fromStdString(form->ItemConditions().cid), u"0"_s);
    QCOMPARE(QString::fromStdString(form->ItemConditions().nick), u"peldrun"_s);
    QVERIFY(warnings_->texts.isEmpty());
    QCOMPARE(Find<QLabel>(*form, "Label5")->text(), QString::fromUtf8(kFooterHost1.data()));
  }

  // A configuration that cannot be used: the fixed list, and the not-found
  // message says why, naming the address, as standard error does, once.
  void withoutConfigurationTheFixedListAndTheReason_data() {
    QTest::addColumn<QString>("answer");  // what the address serves; empty: nothing listens
    QTest::addColumn<QString>("reason");
    QTest::newRow("refused") << QString() << u"无法读取配置文件（%1）：服务器拒绝了连接"_s;
    QTest::newRow("web page")
        << u"<html><body>It works!<br></body></html>"_s
        << u"无法读取配置文件（%1）：收到的是一个网页，而不是平台的应答（是否需要先登录网络？）"_s;
    QTest::newRow("not XML") << u"key=1"_s << u"无法读取配置文件（%1）：应答不是有效的 XML 文档"_s;
    QTest::newRow("no key") << u"<config><api><app_sec>s</app_sec></api></config>"_s
                            << u"配置文件（%1）中没有应用密钥"_s;
    QTest::newRow("self-signed") << u"https"_s << u"无法读取配置文件（%1）：服务器的证书不受信任"_s;
  }
  void withoutConfigurationTheFixedListAndTheReason() {
    QFETCH(QString, answer);
    QFETCH(QString, reason);
    test::TestServer server;
    server.Serve("/cfg", answer.toStdString());
    const test::TestCertificate certificate;
    const test::TlsServer tls(certificate, sandbox::ConfigDocument("k", "s", server.Url("/rest")));
    const std::string url =
        answer.isEmpty() ? "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/cfg"
        : answer == u"https"_s ? tls.Url("/cfg")
                               : server.Url("/cfg");
    QStringList diagnostics;
    auto form = test::OpenWindow(url, browser_, warnings_, [&](FormServices& services) {
      services.diagnostics = [&](const QString& line) { diagnostics << line; };
    });
    WaitIdle(*form);
    const QStringList top = TopLevel(*form);
    QCOMPARE(top.size(), 55);
    QCOMPARE(top.at(1), u"数码相机/摄像机/摄影器材"_s);
    QCOMPARE(warnings_->texts,
             QStringList{u"没有找到相关商品\n"_s + reason.arg(QString::fromStdString(url))});
    QCOMPARE(warnings_->titles.first(), Caption());
    // Once, and the failed search does not say it again (a skin may say more).
    const QStringList said =
        diagnostics.filter(QRegularExpression(u"^(configuration|search|categories)"_s));
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().startsWith(u"configuration: "_s), qPrintable(said.first()));
    QVERIFY2(said.first().contains(QString::fromStdString(url)), qPrintable(said.first()));
    QVERIFY(Find<QLineEdit>(*form, "Edit1")->isEnabled());
  }

  void expandingLoadsChildrenOnce() {
    test::LogCapture log;
    test::SandboxRunner sandbox(3000, &log);
    auto form = Open(sandbox.server().config_url());
    WaitIdle(*form);
    auto* tree = Find<QTreeWidget>(*form, "TreeView1");
    QTreeWidgetItem* mp3 = tree->findItems(u"MP3/MP4/iPod/录音笔"_s, Qt::MatchExactly).first();
    QCOMPARE(mp3->childCount(), 1);
    QVERIFY(mp3->child(0)->text(0).isEmpty());
    mp3->setExpanded(true);
    QTRY_COMPARE(mp3->childCount(), 4);
    QCOMPARE(mp3->child(0)->text(0), u"MP3"_s);
    QVERIFY(log.WaitFor("parent_cid=1201"));
    mp3->setExpanded(false);
    mp3->setExpanded(true);
    QCOMPARE(mp3->childCount(), 4);

    tree->setCurrentItem(mp3->child(0));  // a category search, page 1, keyword cleared
    WaitIdle(*form);
    QCOMPARE(Find<QLineEdit>(*form, "Edit2")->text(), u"MP3"_s);
    QVERIFY(QString::fromStdString(form->ItemConditions().cid).toLong() >= 60000000);
  }

  void searchBarValuesAreNormalisedAndSent() {
    auto form = Open(sandbox_->server().config_url());
    WaitIdle(*form);
    Find<QLineEdit>(*form, "Edit1")->setText(u"MP3"_s);
    Find<QSpinBox>(*form, "SpinEdit1")->setValue(100);
    Find<QSpinBox>(*form, "SpinEdit2")->setValue(0);
    Find<QComboBox>(*form, "ComboBoxEx1")->setCurrentIndex(15);
    Find<QComboBox>(*form, "ComboBoxEx2")->setCurrentIndex(3);
    Find<QComboBox>(*form, "ComboBox3")->setCurrentIndex(1);
    Find<QComboBox>(*form, "ComboBox2")->setCurrentIndex(2);
    QTest::keyClick(Find<QLineEdit>(*form, "Edit1"), Qt::Key_Return);  // Enter presses 搜索
    QVERIFY(form->SearchRunning());
    QVERIFY(!Find<QPushButton>(*form, "Button2")->isEnabled());
    WaitIdle(*form);
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit1")->value(), 0);
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit2")->value(), 100);
    QCOMPARE(Find<QComboBox>(*form, "ComboBoxEx1")->currentIndex(), 3);
    const TaobaokeItemConditions& c = form->ItemConditions();
    QCOMPARE(c.keyword, std::string("MP3"));
    QCOMPARE(c.start_price, std::string("0"));
    QCOMPARE(c.end_price, std::string("100"));
    QCOMPARE(c.start_credit, std::string("4heart"));
    QCOMPARE(c.end_credit, std::string("1goldencrown"));
    QCOMPARE(c.area, std::string("江苏,浙江,上海"));
    QCOMPARE(c.sort, std::string("price_asc"));
    QCOMPARE(form->windowTitle(), Caption());
  }

  void hostileValuesAreInertText() {
    test::TestServer server;
    test::ServePlatform(server, [](const httplib::Request& req, httplib::Response&) {
      if (test::MethodOf(req) != "taobao.taobaoke.items.get") return std::string();
      return std::string(
          "<totalResults>1</totalResults><taobaokeItem>"
          "<title><![CDATA[<img src=x onerror=alert(1)>&lt;script&gt;alert(2)&lt;/script&gt;]]>"
          "</title><nick><![CDATA[\"><script>alert(3)</script>]]></nick>"
          "<price><![CDATA[<b>9</b>]]></price><click_url>javascript:alert(4)</click_url>"
          "<pic_url><![CDATA[x\" onerror=\"alert(5)]]></pic_url></taobaokeItem>");
    });
    auto form = Open(server.Url("/cfg"));
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() > 0, 15000);
    QWebEnginePage* page = Find<QWebEngineView>(*form, "WebBrowser1")->page();
    QVERIFY(!page->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
    QVERIFY(!page->settings()->testAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls));
    QVERIFY(!page->settings()->testAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls));
    // The markup arrives as text a person can read, not as elements.
    const QString text = Evaluate(*form, u"document.body.innerText"_s).toString();
    for (const QString& inert :
         {u"\"><script>alert(3)</script>"_s, u"<b>9</b>"_s, u"&lt;script&gt;alert(2)"_s}) {
      QVERIFY2(text.contains(inert), qPrintable(text));
    }
  }

  // The worker has answered and ended, but the window has not yet handled
  // its notice: the window is still busy, and a tree selection in that gap
  // starts nothing. Afterwards the highlight is back on what was searched.
  void aSearchIsBusyUntilItsOutcomeIsHandled() {
    auto form = Open(sandbox_->server().config_url());
    WaitIdle(*form);
    auto* tree = Find<QTreeWidget>(*form, "TreeView1");
    QTreeWidgetItem* phones = tree->findItems(u"手机"_s, Qt::MatchExactly).first();
    QTreeWidgetItem* books = tree->findItems(u"书籍/杂志/报纸"_s, Qt::MatchExactly).first();
    tree->setCurrentItem(phones);
    QVERIFY(form->SearchRunning());
    // No event is handled while the worker finishes its two calls and ends;
    // its notice is then waiting in the queue.
    QVERIFY2(test::WaitUntil([&] { return !form->WorkerRunning(); }, std::chrono::seconds(15)),
             "the worker did not end");
    QVERIFY(form->SearchRunning());
    tree->setCurrentItem(books);  // refused: the search's outcome is still pending
    QCOMPARE(Find<QLineEdit>(*form, "Edit2")->text(), u"手机"_s);
    WaitIdle(*form);
    QCOMPARE(Find<QLineEdit>(*form, "Edit2")->text(), u"手机"_s);
    QCOMPARE(tree->currentItem(), phones);
    QCOMPARE(form->ItemConditions().cid,
             std::to_string(phones->data(0, Qt::UserRole).toLongLong()));
    tree->setCurrentItem(books);  // now it searches
    QVERIFY(form->SearchRunning());
    WaitIdle(*form);
    QCOMPARE(Find<QLineEdit>(*form, "Edit2")->text(), u"书籍/杂志/报纸"_s);
  }

  // A category whose expansion failed stays expandable and tries again.
  void aFailedExpansionTriesAgainNextTime() {
    test::TestServer server;
    int child_calls = 0;
    test::ServePlatform(server, [&](const httplib::Request& req, httplib::Response& res) {
      if (test::MethodOf(req) != "taobao.itemcats.get") return std::string();
      if (req.get_param_value("parent_cid") == "0")
        return std::string("<item_cat><cid>7</cid><name>七</name></item_cat>");
      if (++child_calls == 1) res.status = 500;
      return std::string("<item_cat><cid>70</cid><name>七十</name></item_cat>");
    });
    auto form = Open(server.Url("/cfg"));
    WaitIdle(*form);
    QTreeWidgetItem* seven = Find<QTreeWidget>(*form, "TreeView1")->topLevelItem(1);
    QCOMPARE(seven->text(0), u"七"_s);
    seven->setExpanded(true);
    QTRY_VERIFY(!seven->isExpanded());
    QCOMPARE(seven->childCount(), 1);
    QVERIFY(seven->child(0)->text(0).isEmpty());
    seven->setExpanded(true);
    QTRY_COMPARE(seven->childCount(), 1);
    QCOMPARE(seven->child(0)->text(0), u"七十"_s);
    QCOMPARE(child_calls, 2);
  }

  // A paging search that fails goes back to the page that was shown, so
  // that 下一页 tries the same page again.
  void aFailedPageKeepsThePageThatWasShown() {
    const test::NoDoubleClickInterval act_right_after_a_page_turn;
    test::TestServer server;
    std::atomic<int> page_two_calls = 0;
    test::ServePlatform(server, [&](const httplib::Request& req, httplib::Response& res) {
      if (test::MethodOf(req) != "taobao.taobaoke.items.get") return std::string();
      const std::string page = req.get_param_value("page_no");
      if (page == "2" && ++page_two_calls == 1) res.status = 500;
      return "<totalResults>1</totalResults><taobaokeItem><title>第" + page +
             "页</title><nick>n</nick><click_url>http://x.example/i</click_url></taobaokeItem>";
    });
    auto form = Open(server.Url("/cfg"));
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    WaitShown(*form, shown, 1);
    Navigate(*form, u"http://next/"_s);
    QTRY_COMPARE(warnings_->texts.size(), 1);
    QCOMPARE(form->PageNo(), 1);
    QTRY_VERIFY(Evaluate(*form, u"document.body ? document.body.innerText : ''"_s)
                    .toString()
                    .contains(u"第1页"_s));
    WaitIdle(*form);
    Navigate(*form, u"http://next/"_s);
    QTRY_COMPARE(form->PageNo(), 2);
    WaitIdle(*form);
    QCOMPARE(page_two_calls.load(), 2);
    QCOMPARE(form->ItemConditions().page_no, std::string("2"));
    QCOMPARE(warnings_->texts.size(), 1);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1Test>(argc, argv);
}

#include "TForm1Test.moc"
