// TForm1: the window's size and place on the screen, and its controls' for
// any size (WindowLayout).
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/form/TForm1.h"
#include "app/form/core/WindowLayout.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

// What a window manager's frame takes around the client area before the
// window is shown and the real frame is known: a title bar and borders.
constexpr QMargins kFrameGuess(4, 30, 4, 4);

// `frame` moved and shrunk to lie inside `area`, its top-left kept where it can.
QRect Inside(QRect frame, const QRect& area) {
  frame.setWidth(std::min(frame.width(), area.width()));
  frame.setHeight(std::min(frame.height(), area.height()));
  frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() - frame.width() + 1));
  frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() - frame.height() + 1));
  return frame;
}

}  // namespace

// The form's first size and place (44, 17), where they fit in the screen's
// work area (the screen less its panels), and inside it where they do not.
// The user may resize and maximise it, down to the least size at which
// every control is in reach.
void TForm1::PlaceOnScreen() {
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  FitInto(QSize(kFormWidth, kFormHeight));
}

void TForm1::FitInto(const QSize& client) {
  QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  if (frame.isNull()) frame = kFrameGuess;
  const QRect wanted(QPoint(44, 17), client.grownBy(frame));
  const QRect area = screen() != nullptr ? screen()->availableGeometry() : wanted;
  const QRect placed = Inside(wanted, area);
  resize(placed.size().shrunkBy(frame).expandedTo(minimumSize()));
  move(placed.topLeft());
}

// Once the window is on the screen its frame is known: a window a guessed
// frame let out of the work area is put back in.
void TForm1::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (fitted_) return;
  fitted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (isMaximized() || isFullScreen() || screen() == nullptr) return;
        if (!screen()->availableGeometry().contains(frameGeometry())) FitInto(size());
      },
      Qt::QueuedConnection);
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

// The group boxes' whole area, not their contents rectangles: those depend
// on the style and the skin, and the controls' places may not.
void TForm1::FormResize() {
  const WindowLayout layout = LayOut(ui->centralwidget->width(), ui->centralwidget->height());
  QWidget* const controls[] = {
      ui->Edit2,       ui->TreeView1,   ui->GroupBox1, ui->Label1,    ui->Edit1,   ui->Label3,
      ui->ComboBoxEx1, ui->ComboBoxEx2, ui->Label6,    ui->ComboBox3, ui->Label2,  ui->ComboBox2,
      ui->Label4,      ui->SpinEdit1,   ui->SpinEdit2, ui->Button1,   ui->Button2, ui->GroupBox3,
      ui->WebBrowser1, ui->Label5,      ui->Label7};
  static_assert(std::size(controls) == static_cast<std::size_t>(Control::Count));
  for (std::size_t i = 0; i < std::size(controls); ++i) {
    const Rect& r = layout.places[i];
    controls[i]->setGeometry(r.x, r.y, r.width, r.height);
  }
}

}  // namespace orvalen
