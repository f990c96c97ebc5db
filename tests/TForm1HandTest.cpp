// What a real hand does to the results view, through the X server and a
// window manager (desktop-session.sh): drags out of the view onto another
// window, drops onto the view, Alt+clicks and double clicks, copying to the
// clipboard and zooming with keys. Input is played with xdotool (support/
// Hand.h); what leaves is read where it lands: the drop target, the
// external browser's recorder, the clipboard as another program reads it.
#include <QDrag>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QStyleHints>
#include <atomic>

#include "sandbox/LinkShapes.h"
#include "support/HandWindow.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using test::Evaluate;
using test::Hand;
using test::Move;
using test::MoveThen;
using test::ReadSelection;
using test::Selection;
using test::Wiggle;

namespace {

// A window that takes any drop and keeps what each one carried.
class DropTarget : public QWidget {
 public:
  struct Drop {
    QStringList formats;
    QString text;
  };
  DropTarget() {
    setAcceptDrops(true);
    setWindowTitle(u"drop target"_s);
    setGeometry(1010, 60, 240, 200);
  }
  QList<Drop> drops;
  std::atomic<bool> entered{false};

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override {
    entered = true;
    e->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* e) override { e->acceptProposedAction(); }
  void dropEvent(QDropEvent* e) override {
    drops << Drop{e->mimeData()->formats(), e->mimeData()->text()};
    e->acceptProposedAction();
  }
};

// A window the hand drags from: each drag carries what `make` gives.
class DragSource : public QWidget {
 public:
  explicit DragSource(std::function<QMimeData*()> make) : make_(std::move(make)) {
    setWindowTitle(u"drag source"_s);
    setGeometry(1010, 400, 240, 200);
  }
  QList<Qt::DropAction> results;  // how each drag ended

 protected:
  void mousePressEvent(QMouseEvent* e) override { pressed_ = e->position().toPoint(); }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!(e->buttons() & Qt::LeftButton) || dragging_) return;
    if ((e->position().toPoint() - pressed_).manhattanLength() < QApplication::startDragDistance())
      return;
    dragging_ = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(make_());
    results << drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    dragging_ = false;
  }

 private:
  std::function<QMimeData*()> make_;
  QPoint pressed_;
  bool dragging_ = false;
};

// Sees drags reach the results view before the window refuses them.
class DragWatch : public QObject {
 public:
  explicit DragWatch(QWidget* view) : view_(view) { qApp->installEventFilter(this); }
  ~DragWatch() override { qApp->removeEventFilter(this); }
  std::atomic<bool> entered{false};

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (e->type() == QEvent::DragEnter && widget &&
        (widget == view_ || view_->isAncestorOf(widget)))
      entered = true;
    return false;
  }

 private:
  QWidget* view_;
};

}  // namespace

class TForm1HandTest : public QObject, test::HandWindow {
  Q_OBJECT

  test::LogCapture log_;
  std::unique_ptr<test::SandboxRunner> sandbox_;

  void Open() { HandWindow::Open(sandbox_->server().config_url()); }
  void ClearSelection() { Evaluate(*form_, u"getSelection().removeAllRanges(); 0"_s); }

  // The hand drags from `from` onto `target`, and lets go once the target
  // feels the drag, or after a few tries when `expect_drag` is false.
  void DragOnto(const QPoint& from, DropTarget& target, bool expect_drag) {
    ClearSelection();
    const QPoint onto = target.mapToGlobal(target.rect().center());
    target.entered = false;
    Hand hand;
    hand.Do(Move(from)).Do({"mousedown", "1"}).Do(Move(from + QPoint(12, 4)));
    if (expect_drag) {
      hand.Until([&] { return target.entered.load(); }, Wiggle(onto));
    } else {
      for (int i = 0; i < 5; ++i) hand.Do(Wiggle(onto));
    }
    hand.Do({"mouseup", "1"}).Start();
    QTRY_VERIFY_WITH_TIMEOUT(hand.Done(), 30000);
    QVERIFY2(hand.Failure().empty(), hand.Failure().c_str());
  }

 private slots:
  void initTestCase() {
    sandbox_ = std::make_unique<test::SandboxRunner>(3000, &log_,
                                                     std::vector{*sandbox::ParseFault("shapes")});
  }
  void cleanup() { Close(); }
  void cleanupTestCase() { sandbox_.reset(); }

  // An item's title or picture carries exactly its click URL, as text only,
  // whatever shape the gateway gave it; a seller, a paging link or a badge
  // carries nothing; a selection its text, once, and nothing else.
  void aDragOutCarriesOnlyAnItemsOwnClickUrl() {
    Open();
    DropTarget target;
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    const QStringList given = ClickUrls();
    QVERIFY(given.size() >= int(sandbox::kLinkShapes));
    const auto expect_item = [&](int card) {
      QCOMPARE(target.drops.last().formats, QStringList{u"text/plain"_s});
      QCOMPARE(target.drops.last().text, given[card - 1]);
    };
    // No path, :80, a blank, raw non-ASCII: shapes the engine rewrites.
    for (int card : {1, 2, 7, 8}) {
      const int before = int(target.drops.size());
      DragOnto(At(Title(card)), target, true);
      QTRY_COMPARE(target.drops.size(), before + 1);
      expect_item(card);
    }
    DragOnto(At(Picture(4)), target, true);
    QTRY_COMPARE(target.drops.size(), 5);
    expect_item(4);

    // Nothing for these: the item dragged after each is the next drop.
    for (const QString& none :
         {Seller(1), NextPage(), u"div.mydiv:nth-of-type(1) img[alt^=\"信用\"]"_s}) {
      const int before = int(target.drops.size());
      DragOnto(At(none), target, false);
      DragOnto(At(Title(3)), target, true);
      QTRY_COMPARE(target.drops.size(), before + 1);
      expect_item(3);
    }

    // A selection: the price of the first card, as it reads on the screen.
    const QString price =
        Evaluate(*form_, u"document.querySelector('.yuan').textContent"_s).toString();
    const QPoint on_price = At(u".yuan"_s);
    const int before = int(target.drops.size());
    Evaluate(*form_,
             u"(function(){var r=document.createRange();"
             "r.selectNodeContents(document.querySelector('.yuan').parentNode);"
             "getSelection().removeAllRanges(); getSelection().addRange(r); return 0;})()"_s);
    Hand hand;
    hand.Do(Move(on_price)).Do({"mousedown", "1"}).Do(Move(on_price + QPoint(12, 4)));
    hand.Until([&] { return target.entered.load(); },
               Wiggle(target.mapToGlobal(target.rect().center())));
    target.entered = false;
    hand.Do({"mouseup", "1"}).Start();
    QTRY_VERIFY_WITH_TIMEOUT(hand.Done(), 30000);
    QVERIFY2(hand.Failure().empty(), hand.Failure().c_str());
    QTRY_COMPARE(target.drops.size(), before + 1);
    QCOMPARE(target.drops.last().formats, QStringList{u"text/plain"_s});
    QCOMPARE(target.drops.last().text, u"价格：%1 元"_s.arg(price));
  }

  // Alt held: the click does what a plain one does, and the engine fetches
  // nothing itself (the sandbox never sees the item's landing).
  void altClickDoesWhatAPlainClickDoes() {
    Open();
    const QStringList given = ClickUrls();
    const std::size_t landings = log_.Count("/click?");
    const QString nick = TextOf(Seller(1));
    const auto alt_click = [&](const QString& selector) {
      QVERIFY(Hand::Now(MoveThen(At(selector), {"keydown", "alt", "click", "1", "keyup", "alt"})));
    };
    alt_click(Title(2));
    QTRY_COMPARE(browser_->opened, QStringList{given[1]});
    alt_click(Seller(1));
    QTRY_COMPARE(browser_->opened.size(), 2);
    const auto* seller = sandbox_->server().catalogue().FindSeller(nick.toStdString());
    QVERIFY(seller != nullptr);
    QVERIFY(browser_->opened.last().contains(u"sid=%1&"_s.arg(seller->sid)));
    alt_click(NextPage());
    QTRY_COMPARE(form_->PageNo(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() >= 2, 15000);
    QCOMPARE(log_.Count("/click?"), landings);
    QCOMPARE(browser_->opened.size(), 2);
  }

  // Whatever is dropped on the view changes nothing: no call, no page turn,
  // the same results.
  void dropsOnTheViewChangeNothing() {
    Open();
    const QString first = TextOf(Title(1));
    int kind = 0;
    DragSource source([&kind] {
      auto* data = new QMimeData;
      switch (kind) {
        case 0:
          data->setUrls({QUrl(u"http://example.com/"_s)});
          break;
        case 1:
          data->setUrls({QUrl(u"http://next/"_s)});
          break;
        case 2:
          data->setText(u"http://卖家/"_s);
          break;
        default:
          data->setUrls({QUrl::fromLocalFile(u"/etc/hostname"_s)});
      }
      return data;
    });
    source.show();
    QVERIFY(QTest::qWaitForWindowExposed(&source));
    DragWatch watch(test::View(*form_));
    const std::size_t shops = log_.Count("method=taobao.shop.get");
    const QPoint from = source.mapToGlobal(source.rect().center());
    const QPoint onto = OnScreen(QPoint(View()->width() / 2, View()->height() / 2));
    for (kind = 0; kind < 4; ++kind) {
      watch.entered = false;
      Hand hand;
      hand.Do(Move(from)).Do({"mousedown", "1"}).Do(Move(from + QPoint(20, 0)));
      hand.Until([&] { return watch.entered.load(); }, Wiggle(onto));
      hand.Do({"mouseup", "1"}).Start();
      QTRY_VERIFY_WITH_TIMEOUT(hand.Done(), 30000);
      QVERIFY2(hand.Failure().empty(), hand.Failure().c_str());
      QTRY_COMPARE(source.results.size(), kind + 1);  // the drag has ended
      QCOMPARE(source.results.last(), Qt::IgnoreAction);
    }
    QCOMPARE(log_.Count("method=taobao.shop.get"), shops);
    QCOMPARE(form_->PageNo(), 1);
    QVERIFY(!form_->SearchRunning());
    QCOMPARE(TextOf(Title(1)), first);
  }

  // A double click opens an item or a seller's shop once; a double click on
  // 下一页 turns one page, and its second click takes nothing on the page it
  // brought, which opens at its top where the items are.
  void aDoubleClickActsOnce() {
    Open();
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    const QStringList given = ClickUrls();
    const auto double_click = [&](const QString& selector) {
      QVERIFY(Hand::Now(MoveThen(At(selector), {"click", "--repeat", "2", "--delay", "60", "1"})));
    };
    const auto click = [&](const QString& selector) {
      QVERIFY(Hand::Now(MoveThen(At(selector), {"click", "1"})));
    };
    // Each followed by a single click elsewhere: a second action of the
    // double click would have come before it.
    double_click(Title(1));
    click(Title(5));
    QTRY_COMPARE(browser_->opened.size(), 2);
    QCOMPARE(browser_->opened, (QStringList{given[0], given[4]}));
    const std::size_t shops = log_.Count("method=taobao.shop.get");
    double_click(Seller(2));
    click(Title(6));
    QTRY_COMPARE(browser_->opened.size(), 4);
    QVERIFY(browser_->opened[2].contains(u"sid="_s));
    QCOMPARE(browser_->opened[3], given[5]);
    QCOMPARE(log_.Count("method=taobao.shop.get"), shops + 1);

    double_click(NextPage());
    QTRY_COMPARE(form_->PageNo(), 2);
    QElapsedTimer since_turn;  // the turn was taken before this
    since_turn.start();
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() >= 2, 15000);
    test::WaitIdle(*form_);
    // Past the double-click interval, a click is taken again.
    QTRY_VERIFY(since_turn.elapsed() > QGuiApplication::styleHints()->mouseDoubleClickInterval());
    const QString page_two = ClickUrls().first();
    click(Title(1));
    QTRY_COMPARE(browser_->opened.size(), 5);
    QCOMPARE(browser_->opened.last(), page_two);
    QCOMPARE(form_->PageNo(), 2);
  }

  // Ctrl+C copies the selection as plain text, each price once; Ctrl+A
  // selects the results; no selection offers the page's markup.
  void copyPutsThePlainTextOnTheClipboard() {
    Open();
    const QString price =
        Evaluate(*form_, u"document.querySelector('.yuan').textContent"_s).toString();
    const QString title = TextOf(Title(1));
    Evaluate(*form_,
             u"(function(){var r=document.createRange(); var card="
             "document.querySelector('div.mydiv'); r.setStartBefore(card.querySelector("
             "'[role=heading]')); r.setEndAfter(card.querySelector('.yuan').parentNode);"
             "getSelection().removeAllRanges(); getSelection().addRange(r); return 0;})()"_s);
    QTRY_VERIFY(!test::View(*form_)->page()->selectedText().isEmpty());
    QVERIFY(Hand::Now({"key", "ctrl+c"}));
    const QString expected = title + u"\n价格：%1 元"_s.arg(price);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), expected);
    Selection clipboard = ReadSelection("clipboard");
    QCOMPARE(clipboard.text, expected);
    QVERIFY2(clipboard.targets.filter(u"html"_s).isEmpty(),
             qPrintable(clipboard.targets.join(u' ')));
    QVERIFY(clipboard.targets.filter(u"uri"_s).isEmpty());

    QVERIFY(Hand::Now({"key", "ctrl+a", "key", "ctrl+c"}));
    QTRY_VERIFY(QGuiApplication::clipboard()->text().contains(u"下一页"_s));
    clipboard = ReadSelection("clipboard");
    QCOMPARE(clipboard.text.count(u"价格："_s), 40);
    QVERIFY(!clipboard.text.contains(u"元价格"_s));
    QVERIFY(clipboard.targets.filter(u"html"_s).isEmpty());
    const Selection primary = ReadSelection("primary");
    QVERIFY2(primary.targets.filter(u"html"_s).isEmpty(), qPrintable(primary.targets.join(u' ')));
  }

  // Ctrl and plus, minus or 0 zoom as the wheel does; the zoom stays across
  // searches.
  void zoomKeysStepLikeTheWheelAndStay() {
    Open();
    auto* view = test::View(*form_);
    QVERIFY(Hand::Now({"key", "ctrl+plus", "key", "ctrl+equal"}));
    QTRY_VERIFY(qFuzzyCompare(view->zoomFactor(), 1.2));
    QVERIFY(Hand::Now({"key", "ctrl+minus"}));
    QTRY_VERIFY(qFuzzyCompare(view->zoomFactor(), 1.1));
    QTest::mouseClick(test::Find<QPushButton>(*form_, "Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() >= 2, 15000);
    QVERIFY(qFuzzyCompare(view->zoomFactor(), 1.1));
    View()->setFocus();
    QVERIFY(Hand::Now({"key", "ctrl+0"}));
    QTRY_VERIFY(qFuzzyCompare(view->zoomFactor(), 1.0));
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1HandTest>(argc, argv);
}

#include "TForm1HandTest.moc"
