// Sharing an item or a seller, as a person does it on a desktop of its own
// (desktop-session.sh): the results' menu opened with real right clicks,
// the Menu key and Shift+F10; what lands on the clipboard, read through the
// toolkit and by another program; the QR dialog's code read by a real
// decoder (zbar) from the pixels on the screen and from the saved picture.
#include <QAccessible>
#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>

#include "app/form/QrDialog.h"
#include "app/form/core/QrCode.h"
#include "sandbox/LinkShapes.h"
#include "support/HandWindow.h"
#include "support/QrRead.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using test::Hand;
using test::MoveThen;

namespace {

const QStringList kItemEntries{u"在浏览器中打开"_s, u"复制推广链接"_s, u"复制分享文字"_s,
                               u"手机扫码…"_s};
const QStringList kSellerEntries{u"打开店铺"_s, u"复制店铺推广链接"_s, u"手机扫码…"_s};

QMenu* OpenMenu() {
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The entries of `menu` as a screen reader names them.
QStringList SpokenEntries(QMenu* menu) {
  QStringList names;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
  for (int i = 0; face != nullptr && i < face->childCount(); ++i) {
    names << face->child(i)->text(QAccessible::Name);
  }
  return names;
}

// What the screen shows of `widget`, read from the X server.
QImage Shot(QWidget* widget) {
  const QPoint at = widget->mapToGlobal(QPoint(0, 0));
  return widget->screen()
      ->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
      .toImage()
      .convertToFormat(QImage::Format_Grayscale8);
}

// The code's dark box in `shot`; its quiet zone must lie inside `shot`.
QRect DarkBox(const QImage& shot) {
  QRect box;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if (qGray(shot.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

bool AllWhite(const QImage& shot, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(shot.pixel(x, y)) < 250) return false;
    }
  }
  return true;
}

}  // namespace

class TForm1ShareTest : public QObject, test::HandWindow {
  Q_OBJECT

  std::unique_ptr<test::SandboxRunner> sandbox_;
  QTemporaryDir saved_;

  void Open() { HandWindow::Open(sandbox_->server().config_url(), SaveInto()); }
  std::function<void(FormServices&)> SaveInto() {
    return [this](FormServices& s) {
      s.choose_file = [this](QWidget*, const QString&) { return saved_.filePath(u"code.png"_s); };
    };
  }

  // The menu a right click on `selector` opens.
  QMenu* RightClick(const QString& selector) {
    if (!Hand::Now(MoveThen(At(selector), {"click", "3"}))) return nullptr;
    if (!QTest::qWaitFor([] { return OpenMenu() != nullptr; }, 15000)) return nullptr;
    return OpenMenu();
  }
  // The hand clicks the entry `text` of the open menu.
  static bool Choose(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
      if (action->text() != text) continue;
      const QPoint at = menu->mapToGlobal(menu->actionGeometry(action).center());
      return Hand::Now(MoveThen(at, {"click", "1"}));
    }
    return false;
  }
  // The QR dialog once it shows, and the links its code holds as drawn on
  // the screen.
  static QDialog* QrDialogShown() {
    QDialog* found = nullptr;
    (void)QTest::qWaitFor(
        [&] {
          for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QrDialog*>(w);
            if (d != nullptr && d->isVisible()) found = d;
          }
          return found != nullptr;
        },
        15000);
    return found;
  }
  static std::vector<std::string> CodeOnScreen(QDialog* dialog) {
    auto* picture = dialog->findChild<QLabel*>(u"QrPicture"_s);
    std::vector<std::string> read;
    (void)QTest::qWaitFor([&] { return !(read = test::ReadQrCodes(Shot(picture))).empty(); },
                          15000);
    return read;
  }

  // The code on the screen: the link, read by zbar; a quiet zone of four
  // modules and at least four pixels per module.
  static void ExpectCode(QDialog* dialog, const QString& link) {
    QCOMPARE(dialog->windowTitle(), u"手机扫码"_s);
    auto* picture = dialog->findChild<QLabel*>(u"QrPicture"_s);
    QCOMPARE(picture->accessibleName(), u"二维码"_s);
    QCOMPARE(CodeOnScreen(dialog), std::vector{link.toStdString()});
    const QImage shot = Shot(picture);
    const QRect dark = DarkBox(shot);
    const int modules = QrCode::Encode(link.toStdString())->width();
    const int pixels = dark.width() / modules;
    QVERIFY2(pixels >= 4 && dark.width() == pixels * modules, qPrintable(QString::number(pixels)));
    const int zone = 4 * pixels;  // four modules, whatever the program thinks it draws
    const QRect around = dark.adjusted(-zone, -zone, zone, zone);
    QVERIFY(shot.rect().contains(around));
    for (const QRect& band : {QRect(around.topLeft(), QSize(around.width(), zone)),
                              QRect(around.left(), dark.bottom() + 1, around.width(), zone),
                              QRect(around.left(), dark.top(), zone, dark.height()),
                              QRect(dark.right() + 1, dark.top(), zone, dark.height())}) {
      QVERIFY(AllWhite(shot, band));
    }
    auto* text = dialog->findChild<QPlainTextEdit*>(u"QrLink"_s);
    QCOMPARE(text->toPlainText(), link);
    QVERIFY(text->isReadOnly() && text->textInteractionFlags() & Qt::TextSelectableByMouse);
  }

 private slots:
  void initTestCase() {
    QVERIFY(saved_.isValid());
    sandbox_ = std::make_unique<test::SandboxRunner>(3000, nullptr,
                                                     std::vector{*sandbox::ParseFault("shapes")});
  }
  void cleanup() { Close(); }
  void cleanupTestCase() { sandbox_.reset(); }

  // On an item's title or picture, whatever shape its click URL has: the
  // item's entries, named for screen readers; the link copied exactly as
  // the answer gave it; the share text as title, price and link lines.
  void anItemsMenuCopiesItsLinkAndItsShareText() {
    Open();
    const QStringList given = ClickUrls();
    QVERIFY(given.size() >= int(sandbox::kLinkShapes));
    for (int card = 1; card <= int(sandbox::kLinkShapes); ++card) {
      QMenu* menu = RightClick(card % 2 ? Title(card) : Picture(card));
      QVERIFY2(menu != nullptr, qPrintable(given[card - 1]));
      QCOMPARE(menu->objectName(), u"LinkMenu"_s);
      QCOMPARE(SpokenEntries(menu), kItemEntries);
      QVERIFY(Choose(menu, u"复制推广链接"_s));
      QTRY_COMPARE(QGuiApplication::clipboard()->text(), given[card - 1]);
    }
    for (int card : {1, 8}) {  // plain, and raw non-ASCII in the query
      QVERIFY(Choose(RightClick(Title(card)), u"复制分享文字"_s));
      const QString price = TextOf(u"div.mydiv:nth-of-type(%1) .yuan"_s.arg(card));
      const QString expected =
          TextOf(Title(card)) + u"\n价格：%1 元\n"_s.arg(price) + given[card - 1];
      QTRY_COMPARE(QGuiApplication::clipboard()->text(), expected);
      const test::Selection pasted =
          test::ReadSelection("clipboard");  // as a chat program reads it
      QCOMPARE(pasted.text, expected);
      QVERIFY2(pasted.targets.filter(u"html"_s).isEmpty(), qPrintable(pasted.targets.join(u' ')));
    }
    QVERIFY(Choose(RightClick(Picture(5)), u"在浏览器中打开"_s));
    QTRY_COMPARE(browser_->opened, QStringList{given[4]});
  }

  // The keyboard's ways to the same menu, on the item that has the focus;
  // Escape closes it and the focus stays in the page.
  void theMenuKeyAndShiftF10OpenTheMenu() {
    Open();
    const QStringList given = ClickUrls();
    test::Evaluate(*form_, u"document.querySelector('%1').focus(); 0"_s.arg(Title(3)));
    QVERIFY(Hand::Now({"key", "Menu"}));
    QTRY_VERIFY_WITH_TIMEOUT(OpenMenu() != nullptr, 15000);
    QCOMPARE(SpokenEntries(OpenMenu()), kItemEntries);
    QVERIFY(Hand::Now({"key", "Escape"}));
    QTRY_VERIFY(OpenMenu() == nullptr);
    QTRY_VERIFY(View()->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(Hand::Now({"key", "shift+F10"}));
    QTRY_VERIFY_WITH_TIMEOUT(OpenMenu() != nullptr, 15000);
    QVERIFY(Hand::Now({"key", "Down", "key", "Down", "key", "Return"}));
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), given[2]);
  }

  // The right button anywhere but on an item or a seller: the request
  // reaches the window, and no menu opens.
  void elsewhereTheRightButtonOpensNothing() {
    Open();
    QSignalSpy asked(test::View(*form_), &QWidget::customContextMenuRequested);
    const QPoint places[] = {OnScreen(QPoint(2, 2)), At(NextPage()),
                             At(u"div.mydiv:nth-of-type(1) img[alt^=\"信用\"]"_s),
                             At(u"div.mydiv:nth-of-type(2) .yuan"_s)};
    for (const QPoint& at : places) {
      const int before = int(asked.count());
      QVERIFY(Hand::Now(MoveThen(at, {"click", "3"})));
      QTRY_COMPARE(asked.count(), before + 1);
      QVERIFY(OpenMenu() == nullptr);
    }
    QVERIFY(browser_->opened.isEmpty());
    QCOMPARE(form_->PageNo(), 1);
  }

  // "手机扫码…" on each shape of click URL: a code on the screen that a
  // reader reads as exactly that link; its buttons copy the link, save a
  // picture that reads the same, and close; Escape closes too.
  void theQrDialogShowsTheClickUrlAPhoneReads() {
    Open();
    const QStringList given = ClickUrls();
    for (int card = 1; card <= int(sandbox::kLinkShapes); ++card) {
      QVERIFY(Choose(RightClick(Title(card)), u"手机扫码…"_s));
      QPointer<QDialog> dialog = QrDialogShown();
      QVERIFY(dialog);
      ExpectCode(dialog, given[card - 1]);
      if (card == 8) {
        const auto press = [&](const QString& text) {
          for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == text) QTest::mouseClick(button, Qt::LeftButton);
          }
        };
        QGuiApplication::clipboard()->setText(u"before"_s);
        press(u"复制链接"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), given[card - 1]);
        press(u"保存图片…"_s);
        QCOMPARE(test::ReadQrCodes(QImage(saved_.filePath(u"code.png"_s))),
                 std::vector{given[card - 1].toStdString()});
        press(u"关闭"_s);
      } else {
        QVERIFY(Hand::Now({"key", "Escape"}));
      }
      QTRY_VERIFY(dialog.isNull());
    }
  }

  // A seller: its entries; the shop's affiliate link, from the seller
  // chain, copied and shown as a code, the same link a click opens.
  void aSellersShopLinkIsCopiedAndShownAsACode() {
    Open();
    const QString nick = TextOf(Seller(2));
    const auto* seller = sandbox_->server().catalogue().FindSeller(nick.toStdString());
    QVERIFY(seller != nullptr);
    QMenu* menu = RightClick(Seller(2));
    QVERIFY(menu != nullptr);
    QCOMPARE(SpokenEntries(menu), kSellerEntries);
    QVERIFY(Choose(menu, u"复制店铺推广链接"_s));
    QTRY_VERIFY(QGuiApplication::clipboard()->text().contains(u"sid=%1&"_s.arg(seller->sid)));
    const QString shop = QGuiApplication::clipboard()->text();
    QVERIFY(Choose(RightClick(Seller(2)), u"打开店铺"_s));
    QTRY_COMPARE(browser_->opened, QStringList{shop});
    QVERIFY(Choose(RightClick(Seller(2)), u"手机扫码…"_s));
    QPointer<QDialog> dialog = QrDialogShown();
    QVERIFY(dialog);
    ExpectCode(dialog, shop);
    QVERIFY(warnings_->texts.isEmpty());
  }

  // When the seller chain fails, the window says why in one line, with the
  // reason the rest of the window gives, and copies or shows nothing.
  void aFailedSellerChainIsSaid() {
    test::SandboxRunner failing(2000, nullptr, {*sandbox::ParseFault("error-41:taobao.shop.get")});
    HandWindow::Open(failing.server().config_url());
    QGuiApplication::clipboard()->setText(u"before"_s);
    QVERIFY(Choose(RightClick(Seller(1)), u"复制店铺推广链接"_s));
    QTRY_COMPARE(warnings_->texts.size(), 1);
    QCOMPARE(warnings_->texts[0], u"无法复制店铺推广链接：平台拒绝了请求（错误代码 41）"_s);
    QVERIFY(Choose(RightClick(Seller(1)), u"手机扫码…"_s));
    QTRY_COMPARE(warnings_->texts.size(), 2);
    QCOMPARE(warnings_->texts[1], u"无法显示店铺的二维码：平台拒绝了请求（错误代码 41）"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"before"_s);
    QVERIFY(browser_->opened.isEmpty());
    Close();
  }

  // Level M or higher: 100 bytes fit a 37-module code at level L, not at M.
  // A link longer than the largest code holds is shown as text, and says so.
  void codesCorrectErrorsAndTooLongLinksAreText() {
    QVERIFY(QrCode::Encode(std::string(100, 'a'))->width() >= 41);
    const std::string link = "https://s.click.example/t?e=" + std::string(2400, 'x');
    QrDialog dialog(link, {}, nullptr);
    QCOMPARE(dialog.findChild<QLabel*>(u"QrPicture"_s)->text(), u"链接太长，无法生成二维码"_s);
    QCOMPARE(dialog.findChild<QPlainTextEdit*>(u"QrLink"_s)->toPlainText(),
             QString::fromStdString(link));
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1ShareTest>(argc, argv);
}

#include "TForm1ShareTest.moc"
