// Every way out of the window's results, driven as a user would: each mouse
// action, the engine's own navigations, the keys, the marketplace search
// button; only the member's web links leave, as the gateway gave them.
#include "app/form/TForm1.h"
#include "support/GuiTest.h"

#include <vector>

#include "app/AppSettings.h"
#include "sandbox/LinkShapes.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using orvalen::test::ClickLink;
using orvalen::test::Evaluate;
using orvalen::test::Find;
using orvalen::test::Navigate;
using orvalen::test::WaitIdle;
using orvalen::test::WaitShown;

namespace {

// Records the events that reach one object past the application's filters.
class EventProbe : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    types.push_back(e->type());
    return false;
  }
  QList<QEvent::Type> types;
};

}  // namespace

class TForm1LinkTest : public QObject, test::SandboxWindows {
  Q_OBJECT

 private slots:
  void initTestCase() { sandbox_ = std::make_unique<test::SandboxRunner>(3000); }
  void cleanupTestCase() { sandbox_.reset(); }

  // Whatever the mouse does to a link, the link means one thing: an item
  // opens its affiliate click URL outside, a seller runs the seller chain, a
  // paging link pages. Nothing else reaches the external browser.
  void everyMouseActionGoesThroughTheSameDecision_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("plain") << int(Qt::LeftButton) << int(Qt::NoModifier);
    QTest::newRow("middle") << int(Qt::MiddleButton) << int(Qt::NoModifier);
    QTest::newRow("ctrl") << int(Qt::LeftButton) << int(Qt::ControlModifier);
    QTest::newRow("shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier);
    QTest::newRow("ctrl+shift") << int(Qt::LeftButton)
                                << int(Qt::ControlModifier | Qt::ShiftModifier);
  }
  void everyMouseActionGoesThroughTheSameDecision() {
    const test::NoDoubleClickInterval act_right_after_a_page_turn;
    QFETCH(int, button);
    QFETCH(int, modifiers);
    const auto b = static_cast<Qt::MouseButton>(button);
    const auto m = static_cast<Qt::KeyboardModifiers>(modifiers);
    auto form = Open(sandbox_->server().config_url());
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    WaitShown(*form, shown, 1);

    const QString click_url =
        Evaluate(*form, u"document.querySelector('div.mydiv a').href"_s).toString();
    QVERIFY(click_url.contains(u"nick=peldrun"_s));
    ClickLink(*form, u"div.mydiv [role=heading] a"_s, b, m);
    QTRY_COMPARE(browser_->opened, QStringList{click_url});

    // A seller whose nick the engine rewrites as a host name (capitals; Chinese
    // is LinkDecisionTest's): the page's nick counts, and its shop opens.
    const int card =
        Evaluate(*form, QStringLiteral("Array.prototype.findIndex.call(document.querySelectorAll("
                                       "'div.mydiv > a:not([title])'), function (a) {"
                                       "return a.textContent !== a.textContent.toLowerCase(); })"))
            .toInt();
    const QString seller = u"div.mydiv:nth-of-type(%1) > a:not([title])"_s.arg(card + 1);
    const std::string nick =
        Evaluate(*form, u"document.querySelector('%1').textContent"_s.arg(seller))
            .toString()
            .toStdString();
    QVERIFY2(card >= 0, "no seller with capitals on the page");
    ClickLink(*form, seller, b, m);
    QTRY_COMPARE(browser_->opened.size(), 2);
    const QString sid = QString::number(sandbox_->server().catalogue().FindSeller(nick)->sid);
    QVERIFY2(browser_->opened.last().contains(u"/shop?sid="_s + sid),
             qPrintable(browser_->opened.last()));
    QVERIFY(browser_->opened.last().contains(u"nick=peldrun"_s));

    QSignalSpy handled(form.get(), &TForm1::LinkHandled);
    ClickLink(*form, u"a[href=\"http://back/\"]"_s, b, m);  // at page 1: nothing
    QTRY_COMPARE(handled.count(), 1);
    QCOMPARE(handled.first().first().value<LinkAction>(), LinkAction::Back);
    QVERIFY(!form->SearchRunning());
    ClickLink(*form, u"a[href=\"http://next/\"]"_s, b, m);
    QTRY_COMPARE(form->PageNo(), 2);
    WaitShown(*form, shown, 2);
    QCOMPARE(form->ItemConditions().page_no, std::string("2"));
    ClickLink(*form, u"a[href=\"http://back/\"]"_s, b, m);
    QTRY_COMPARE(form->PageNo(), 1);
    WaitShown(*form, shown, 3);
    QCOMPARE(browser_->opened.size(), 2);
    QCOMPARE(Find<QWebEngineView>(*form, "WebBrowser1")->url().scheme(), u"data"_s);
  }

  // Click URLs in the shapes real links take (the sandbox's "shapes"
  // fault): a click on an item, plain or middle, opens exactly the string
  // the gateway gave, once, however the engine rewrites it.
  void itemLinksOfEveryShapeOpenTheirClickUrlAsGiven() {
    test::SandboxRunner sandbox(3000, nullptr, {*sandbox::ParseFault("shapes")});
    auto form = Open(sandbox.server().config_url());
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    WaitShown(*form, shown, 1);
    const QStringList given =
        Evaluate(*form, QStringLiteral("Array.prototype.map.call(document.querySelectorAll("
                                       "'div.mydiv [role=heading] a'), function (a) {"
                                       "return a.getAttribute('href'); })"))
            .toStringList();
    QVERIFY(given.size() >= int(sandbox::kLinkShapes));
    for (const char* mark : {"\\", " ", "|", "{", "^", "手机壳", "%3D", ":80/", "/./", "HTTP://",
                             "https://", "//s.example/"}) {
      QVERIFY2(given.filter(QString::fromUtf8(mark)).size() > 0, mark);
    }
    for (int i = 0; i < int(sandbox::kLinkShapes); ++i) {
      const QString title = u"div.mydiv:nth-of-type(%1) [role=heading] a"_s.arg(i + 1);
      ClickLink(*form, title);
      QTRY_COMPARE(browser_->opened.size(), 2 * i + 1);
      QCOMPARE(browser_->opened.last(), given[i]);
      ClickLink(*form, title, Qt::MiddleButton, Qt::NoModifier);
      QTRY_COMPARE(browser_->opened.size(), 2 * i + 2);
      QCOMPARE(browser_->opened.last(), given[i]);
    }
    // Nothing more opens: the paging link, clicked after them, is handled
    // after anything they could still have caused.
    ClickLink(*form, u"a[href=\"http://next/\"]"_s);
    QTRY_COMPARE(form->PageNo(), 2);
    QCOMPARE(browser_->opened.size(), 2 * int(sandbox::kLinkShapes));
  }

  // An address the view is sent to, whatever sends it, is decided like a
  // click: an item opens outside, anything else long is dropped; the page
  // stays.
  void navigationsOfTheViewAreDecidedLikeClicks() {
    auto form = Open(sandbox_->server().config_url());
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    WaitShown(*form, shown, 1);
    // The sellers' credits and places (the search's second call) are on the page.
    QVERIFY(Evaluate(*form, u"document.querySelectorAll('img[alt^=\"信用 \"]').length"_s).toInt());
    QVERIFY(Evaluate(*form, u"/所在地：\\S/.test(document.body.innerText)"_s).toBool());
    QSignalSpy handled(form.get(), &TForm1::LinkHandled);
    const QString click_url =
        Evaluate(*form, u"document.querySelector('div.mydiv a').href"_s).toString();
    // One at a time: a navigation started before the last one was decided
    // would cut it short.
    for (const QString& url : {u"http://example.invalid/"_s + QString(120, 'x'),
                               u"data:text/html,<b>elsewhere</b>"_s, click_url}) {
      const int before = int(handled.count());
      Navigate(*form, url);
      QTRY_COMPARE(int(handled.count()), before + 1);
    }
    QList<LinkAction> actions;
    for (const QList<QVariant>& args : handled) actions << args.first().value<LinkAction>();
    QCOMPARE(actions,
             (QList<LinkAction>{LinkAction::Drop, LinkAction::Drop, LinkAction::OpenItem}));
    QCOMPARE(browser_->opened, QStringList{click_url});
    QVERIFY(Evaluate(*form, u"document.body.innerText"_s).toString().contains(u"下一页"_s));
  }

  void marketplaceSearchNeedsAKeywordAndOpensTheListUrl() {
    auto form = Open(sandbox_->server().config_url());
    WaitIdle(*form);
    QTest::mouseClick(Find<QPushButton>(*form, "Button2"), Qt::LeftButton);
    QCOMPARE(warnings_->texts, QStringList{u"请输入关键字"_s});
    QVERIFY(browser_->opened.isEmpty());
    Find<QLineEdit>(*form, "Edit1")->setText(u"手机"_s);
    QTest::mouseClick(Find<QPushButton>(*form, "Button2"), Qt::LeftButton);
    QCOMPARE(browser_->opened.size(), 1);
    QVERIFY(browser_->opened.first().contains(u"q=%E6%89%8B%E6%9C%BA"_s));
    QVERIFY(browser_->opened.first().contains(u"nick=peldrun"_s));
    // The footer's links open on a left click only.
    for (const char* name : {"Label5", "Label7"}) {
      QTest::mouseClick(Find<QLabel>(*form, name), Qt::RightButton);
      QTest::mouseClick(Find<QLabel>(*form, name), Qt::MiddleButton);
    }
    QCOMPARE(browser_->opened.size(), 1);
    QTest::mouseClick(Find<QLabel>(*form, "Label5"), Qt::LeftButton);
    QCOMPARE(browser_->opened.last(), u"http://127.0.0.1:8970/"_s);
    QTest::mouseClick(Find<QLabel>(*form, "Label7"), Qt::LeftButton);
    QCOMPARE(browser_->opened.last(), QString::fromUtf8(kSecondSiteUrl.data()));
  }

  // Keys such as F5 never reach the results view; the buttons do (the
  // right one for the window's own menu).
  void keysNeverReachTheResultsView() {
    auto form = Open(sandbox_->server().config_url());
    WaitIdle(*form);
    QWidget* view = Find<QWebEngineView>(*form, "WebBrowser1")->focusProxy();
    QVERIFY(view != nullptr);
    EventProbe probe;
    view->installEventFilter(&probe);
    QTest::keyClick(view, Qt::Key_F5);
    QVERIFY(!probe.types.contains(QEvent::KeyPress));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(650, 500));
    QVERIFY(probe.types.contains(QEvent::MouseButtonPress));
    view->removeEventFilter(&probe);
    EventProbe edit_probe;
    Find<QLineEdit>(*form, "Edit1")->installEventFilter(&edit_probe);
    QTest::keyClick(Find<QLineEdit>(*form, "Edit1"), Qt::Key_A);
    QVERIFY(edit_probe.types.contains(QEvent::KeyPress));
  }

  // A gateway whose answers carry addresses of other schemes: nothing but a
  // web address ever reaches the desktop, the cards still show, and the
  // page's own links keep working.
  void onlyWebAddressesLeaveTheProgram() {
    const test::NoDoubleClickInterval act_right_after_a_page_turn;
    const std::vector<std::string> clicks = {
        "data:text/html,<b>x</b>",     "smb://example.invalid/share", "ftp://example.invalid/x",
        "file:///etc/passwd",          "javascript:alert(1)",         "http://item.example/ok",
        "http://peldrun@evil.example/"};
    std::string outside = "file:///etc/passwd";  // what the shop and list calls answer
    test::TestServer server;
    test::ServePlatform(server, [&](const httplib::Request& req, httplib::Response&) {
      const std::string method = test::MethodOf(req), out = "<![CDATA[" + outside + "]]>";
      if (method == "taobao.shop.get") return std::string("<shop><sid>7</sid></shop>");
      if (method == "taobao.taobaoke.shops.convert")
        return "<taobaokeShop><click_url>" + out + "</click_url></taobaokeShop>";
      if (method == "taobao.taobaoke.listurl.get")
        return "<taobaokeItem><list_url_by_q>" + out + "</list_url_by_q></taobaokeItem>";
      std::string xml = "<totalResults>7</totalResults>";
      for (std::size_t i = 0; i < clicks.size(); ++i) {
        xml += "<taobaokeItem><title>T" + std::to_string(i) +
               "</title><nick>seller</nick><price>1.00</price><click_url><![CDATA[" + clicks[i] +
               "]]></click_url><pic_url>file:///etc/hostname</pic_url></taobaokeItem>";
      }
      return xml;
    });
    auto form = Open(server.Url("/cfg"));
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    WaitShown(*form, shown, 1);
    QCOMPARE(Evaluate(*form, u"document.querySelectorAll('div.mydiv').length"_s).toInt(),
             int(clicks.size()));
    QCOMPARE(Evaluate(*form, u"document.querySelectorAll('img[src]').length"_s).toInt(), 0);
    for (std::size_t i = 0; i < clicks.size(); ++i) {
      const QString title = u"div.mydiv:nth-of-type(%1) [role=heading] a"_s.arg(i + 1);
      ClickLink(*form, title);
      ClickLink(*form, title, Qt::MiddleButton, Qt::NoModifier);
    }
    // Not every address makes a navigation at all, and a new window's may
    // come after the view's own: the web address opens twice, and by the
    // checks below (after the seller chain) anything else would be there too.
    const QStringList ok{u"http://item.example/ok"_s, u"http://item.example/ok"_s};
    QTRY_COMPARE(browser_->opened, ok);
    ClickLink(*form, u"a[href=\"http://next/\"]"_s);
    QTRY_COMPARE(form->PageNo(), 2);
    WaitIdle(*form);

    // The seller chain and the list URL answer with a local file: nothing
    // opens (the seller's link is handled once its chain has ended).
    QSignalSpy handled(form.get(), &TForm1::LinkHandled);
    ClickLink(*form, u"div.mydiv > a:not([title])"_s);
    QTRY_COMPARE(handled.count(), 1);
    QCOMPARE(server.Calls("taobao.taobaoke.shops.convert"), std::size_t{1});
    Find<QLineEdit>(*form, "Edit1")->setText(u"手机"_s);
    QTest::mouseClick(Find<QPushButton>(*form, "Button2"), Qt::LeftButton);
    QCOMPARE(browser_->opened, ok);
    QVERIFY(warnings_->texts.isEmpty());
    // A web address from the same call does open.
    outside = "https://shop.example/7";
    QTest::mouseClick(Find<QPushButton>(*form, "Button2"), Qt::LeftButton);
    QCOMPARE(browser_->opened.last(), u"https://shop.example/7"_s);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1LinkTest>(argc, argv);
}

#include "TForm1LinkTest.moc"
