// The window as assistive technology and the keyboard alone use it: every
// control named and tied to its label through Qt's accessibility interface,
// the credit grades named in words, and results opened, left and the
// footer reached with keys only.
#include <QAccessible>

#include "app/AppSettings.h"
#include "config/SiteConfig.h"
#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using orvalen::test::Find;

namespace {

QString Name(QObject* object) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

// The texts of the labels that label `widget`, as a screen reader finds them.
QStringList LabelledBy(QWidget* widget) {
  QStringList labels;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
  for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
    labels << other->text(QAccessible::Name);
  }
  return labels;
}

}  // namespace

class TForm1AccessTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::SandboxRunner> sandbox_;
  std::shared_ptr<test::RecordingBrowser> browser_;
  std::unique_ptr<TForm1> form_;
  QSignalSpy* shown_ = nullptr;

  bool FocusInView() {
    QWidget *focused = QApplication::focusWidget(), *view = test::View(*form_);
    return focused != nullptr && (focused == view || view->isAncestorOf(focused));
  }
  QString ActiveLink() {
    return test::Evaluate(*form_, u"document.activeElement.getAttribute('href')"_s).toString();
  }
  // A key as the user presses it: to whatever has the focus.
  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

 private slots:
  void initTestCase() {
    sandbox_ = std::make_unique<test::SandboxRunner>(3000);
    std::shared_ptr<test::RecordingWarnings> warnings;
    form_ = test::OpenWindow(sandbox_->server().config_url(), browser_, warnings);
    shown_ = new QSignalSpy(form_.get(), &TForm1::ResultsShown);
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() >= 1, 15000);
    test::WaitIdle(*form_);
  }
  void cleanupTestCase() {
    delete shown_;
    form_.reset();
    sandbox_.reset();
  }

  void everyControlIsNamedAndTiedToItsLabel() {
    const std::pair<const char*, const char*> names[] = {
        {"Edit1", "关键字"},         {"Edit2", "所选类目"},       {"TreeView1", "商品类目"},
        {"ComboBoxEx1", "最低信用"}, {"ComboBoxEx2", "最高信用"}, {"ComboBox3", "所在地"},
        {"ComboBox2", "排序"},       {"SpinEdit1", "最低价格"},   {"SpinEdit2", "最高价格"},
        {"Button1", "搜索"},         {"Button2", "淘宝搜索"},     {"WebBrowser1", "搜索结果"},
    };
    for (const auto& [object, name] : names) {
      QCOMPARE(Name(Find<QWidget>(*form_, object)), QString::fromUtf8(name));
    }
    const std::pair<const char*, const char*> labels[] = {
        {"Edit1", "关键字："},   {"ComboBoxEx1", "信用："}, {"ComboBox3", "所在地："},
        {"ComboBox2", "排序："}, {"SpinEdit1", "价格："},
    };
    for (const auto& [object, label] : labels) {
      QCOMPARE(LabelledBy(Find<QWidget>(*form_, object)), QStringList{QString::fromUtf8(label)});
    }
  }

  // Drawn as pictures, read in words: every entry and the current value.
  void creditGradesAreNamedInWords() {
    for (const char* object : {"ComboBoxEx1", "ComboBoxEx2"}) {
      auto* box = Find<QComboBox>(*form_, object);
      QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box)->child(0);
      QVERIFY(list != nullptr);
      QStringList entries;
      for (int i = 0; i < list->childCount(); ++i)
        entries << list->child(i)->text(QAccessible::Name);
      QCOMPARE(entries.size(), 20);
      QCOMPARE((QStringList{entries[2], entries[6], entries[10], entries[19]}),
               (QStringList{u"3心"_s, u"2钻"_s, u"1皇冠"_s, u"5金冠"_s}));
      QVERIFY(!entries.contains(QString()));
      QVERIFY(box->itemText(2).isEmpty());  // what is drawn stays a picture
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(Find<QComboBox>(*form_, "ComboBoxEx2"))
                 ->text(QAccessible::Value),
             u"5金冠"_s);
  }

  // Tab from the search bar into the results reaches the first item's title
  // (its picture, the same link, is skipped); Return opens it as a click
  // does, Space on the seller runs the seller chain; Shift+Tab leaves.
  void aResultIsOpenedAndLeftWithKeysAlone() {
    Find<QPushButton>(*form_, "Button2")->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    QTRY_VERIFY(FocusInView());
    QTRY_COMPARE(ActiveLink().isEmpty(), false);
    const QString first = ActiveLink();
    QVERIFY2(first.contains(u"/click?"_s), qPrintable(first));
    Press(Qt::Key_Return);
    QTRY_COMPARE(browser_->opened, QStringList{first});
    QVERIFY(!form_->SearchRunning());  // Return in the results does not search

    Press(Qt::Key_Tab);  // the seller
    QTRY_VERIFY(!ActiveLink().contains(u"/click?"_s));
    Press(Qt::Key_Space);
    QTRY_COMPARE(browser_->opened.size(), 2);
    QVERIFY(browser_->opened.last().contains(u"/shop?sid="_s));

    Press(Qt::Key_Tab, Qt::ShiftModifier);
    QTRY_COMPARE(ActiveLink(), first);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    QTRY_VERIFY(!FocusInView());
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(*form_, "Button2"));
  }

  // A search started from the keyword field leaves the focus there.
  void theFocusStaysWhereTheUserWasTyping() {
    auto* keyword = Find<QLineEdit>(*form_, "Edit1");
    keyword->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(keyword, u"MP3"_s);
    const int before = shown_->count();
    Press(Qt::Key_Return);
    QVERIFY(form_->SearchRunning());
    QTRY_VERIFY_WITH_TIMEOUT(shown_->count() > before, 15000);
    test::WaitIdle(*form_);
    QCOMPARE(QApplication::focusWidget(), keyword);
  }

  void theFooterLinksAreReachedWithTabAndOpenWithReturn() {
    Find<QWidget>(*form_, "Edit2")->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(*form_, "Label5"));
    Press(Qt::Key_Return);
    QCOMPARE(browser_->opened.last(), QString::fromUtf8(kSiteRootUrl.data()));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Space);
    QCOMPARE(browser_->opened.last(), QString::fromUtf8(kSecondSiteUrl.data()));
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1AccessTest>(argc, argv);
}

#include "TForm1AccessTest.moc"
