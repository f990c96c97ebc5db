// The window on the screens people have, through the X server and a window
// manager (desktop-session.sh), with a 32-pixel panel at the top: run on
// screens of 800x600 and 1024x600 and on a large one. The window and every
// control lie in the work area, paging and footer links included; it can
// be resized down to its minimum and maximised, and survives both.
#include <QWindow>

#include "app/form/core/WindowLayout.h"
#include "support/GuiTest.h"
#include "support/Panel.h"

using namespace orvalen;
using namespace Qt::StringLiterals;
using test::Find;

namespace {

constexpr const char* kControls[] = {
    "Edit2",     "TreeView1", "Edit1",   "ComboBoxEx1", "ComboBoxEx2", "ComboBox3", "ComboBox2",
    "SpinEdit1", "SpinEdit2", "Button1", "Button2",     "WebBrowser1", "Label5",    "Label7"};

QRect OnScreen(QWidget* w) {
  return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The part of `w` the user sees: inside its window, and on the screen.
QString Outside(QWidget* w, const QRect& area) {
  const QRect r = OnScreen(w);
  return area.contains(r) ? QString()
                          : w->objectName() + u" at "_s + QString::number(r.x()) + u","_s +
                                QString::number(r.y()) + u" "_s + QString::number(r.width()) +
                                u"x"_s + QString::number(r.height());
}

}  // namespace

class TForm1ScreenTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::Panel> panel_;
  std::unique_ptr<test::SandboxRunner> sandbox_;
  std::shared_ptr<test::RecordingBrowser> browser_;
  std::shared_ptr<test::RecordingWarnings> warnings_;

  QRect WorkArea() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
  // A window with its results, fitted to the screen.
  std::unique_ptr<TForm1> Open() {
    auto form = test::OpenWindow(sandbox_->server().config_url(), browser_, warnings_);
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    if (!QTest::qWaitForWindowExposed(form.get())) qFatal("the window was not shown");
    if (!test::Await([&] { return shown.count() > 0; }, 15000)) qFatal("no results");
    test::WaitIdle(*form);
    return form;
  }

 private slots:
  void initTestCase() {
    // Wayland lets no client reserve a strut, or place itself.
    if (QGuiApplication::platformName() == u"xcb"_s) {
      panel_ = std::make_unique<test::Panel>(32);
      QVERIFY(panel_->Reserved());
    }
    sandbox_ = std::make_unique<test::SandboxRunner>(3000);
  }
  void cleanupTestCase() {
    sandbox_.reset();
    panel_.reset();
  }

  // At its first size where that fits, inside the work area where it does
  // not: its frame, every control, the paging links at the page's end.
  void theWindowAndEveryControlAreInTheWorkArea() {
    if (!panel_) QSKIP("the compositor places windows");
    auto form = Open();
    const QRect area = WorkArea();
    const bool fits = area.contains(QRect(44, 17, kFormWidth + 8, kFormHeight + 40));
    QTRY_VERIFY2(area.contains(form->frameGeometry()),
                 qPrintable(u"frame %1,%2 %3x%4"_s.arg(form->frameGeometry().x())
                                .arg(form->frameGeometry().y())
                                .arg(form->frameGeometry().width())
                                .arg(form->frameGeometry().height())));
    if (fits) QCOMPARE(form->size(), QSize(kFormWidth, kFormHeight));
    QStringList outside;
    for (const char* name : kControls) {
      const QString where = Outside(Find<QWidget>(*form, name), area);
      if (!where.isEmpty()) outside << where;
    }
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(u"; "_s)));
    // The paging links, the page scrolled to its end.
    test::Evaluate(*form, u"window.scrollTo(0, document.body.scrollHeight); 0"_s);
    const QPoint next = test::ElementPoint(*form, u"a[href=\"http://next/\"]"_s, u"nearest"_s);
    QWidget* view = test::View(*form);
    QVERIFY(view->rect().contains(next));
    QVERIFY(area.contains(view->mapToGlobal(next)));
  }

  // The user makes it larger, smaller (not below the minimum) and maximises
  // it; the program lives on, and the controls follow.
  void itResizesToItsMinimumAndMaximises() {
    auto form = Open();
    form->resize(300, 200);
    QTRY_COMPARE(form->size(), QSize(kMinimumWidth, kMinimumHeight));
    QTRY_COMPARE(Find<QWidget>(*form, "GroupBox3")->width(), kMinimumWidth - 240);
    form->showMaximized();
    QTRY_VERIFY(form->isMaximized());
    QTRY_VERIFY(form->frameGeometry().width() >= WorkArea().width() - 2);
    QTRY_COMPARE(Find<QWidget>(*form, "GroupBox3")->width(), form->centralWidget()->width() - 240);
    QVERIFY(WorkArea().contains(OnScreen(Find<QWidget>(*form, "Label5"))));
    form->showNormal();
    QTRY_VERIFY(!form->isMaximized());
    // Still answering: a search runs and shows its page.
    QSignalSpy shown(form.get(), &TForm1::ResultsShown);
    QTest::mouseClick(Find<QPushButton>(*form, "Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() > 0, 15000);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<TForm1ScreenTest>(argc, argv);
}

#include "TForm1ScreenTest.moc"
