// InputFilter: an application-wide event filter that keeps the right mouse
// button, context menus and every key but those that move through and use
// the results away from one widget (the results view) and everything
// inside it. Left clicks, the wheel and scrolling pass.
//
//   qApp->installEventFilter(new InputFilter(view, window));
//
// Keys that pass, without Ctrl, Alt or Meta: Tab and Shift+Tab (into,
// through and out of the page's links), Return and Enter (a focused link
// does what a left click does), Space (the same as Return), the arrows,
// Page Up/Down, Home and End (scrolling). The window's own shortcuts (Return
// presses 搜索) are overridden while the view has the focus. Everything else
// (reload, back, find, print, zoom, new window, ...) is swallowed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace orvalen {

class InputFilter : public QObject {
  Q_OBJECT
 public:
  InputFilter(QWidget* guarded, QObject* parent);

  // Whether `key` is one of the keys the results view takes.
  static bool PassesToView(const QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Inside(QObject* object) const;
  bool FilterKey(QObject* watched, QKeyEvent* key);
  QPointer<QWidget> guarded_;
};

}  // namespace orvalen
