// InputFilter: an application-wide event filter that keeps one widget (the
// results view) and everything inside it to the input the results page is
// meant to take. Clicks, the wheel and scrolling pass; the right button and
// the menu keys reach the engine, whose request for a menu the window
// answers with its own (Qt::CustomContextMenu), on items and sellers only.
//
//   qApp->installEventFilter(new InputFilter(view, window, [](ViewCommand c) { ... }));
//
// Keys that pass, without Ctrl, Alt or Meta: Tab and Shift+Tab (into,
// through and out of the page's links), Return and Enter (a focused link
// does what a left click does), Space (the same as Return), the arrows,
// Page Up/Down, Home and End (scrolling), the Menu key and Shift+F10 (the
// menu of the focused link). The window's own shortcuts (Return
// presses 搜索) are overridden while the view has the focus. Copy (Ctrl+C),
// select all (Ctrl+A) and zoom (Ctrl and plus, minus or 0) become commands
// for the window, as the toolkit knows them. Everything else (reload, back,
// find, print, new window, ...) is swallowed, and so is the toolkit's own
// context-menu event.
//
// A mouse button with Alt or Meta held reaches the page as a plain one: the
// engine would take Alt+click for "save the link". Nothing is dropped on
// the view: whatever is dragged over it is refused.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QKeyEvent;

namespace orvalen {

enum class ViewCommand { Copy, SelectAll, ZoomIn, ZoomOut, ZoomReset };

class InputFilter : public QObject {
  Q_OBJECT
 public:
  using Command = std::function<void(ViewCommand)>;
  InputFilter(QWidget* guarded, QObject* parent, Command command = {});

  // Whether `key` is one of the keys the results view takes.
  static bool PassesToView(const QKeyEvent& key);
  // The window's command `key` asks for, if any.
  static std::optional<ViewCommand> CommandOf(const QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Inside(QObject* object) const;
  bool FilterKey(QObject* watched, QKeyEvent* key);
  bool FilterMouse(QEvent* event);
  QPointer<QWidget> guarded_;
  Command command_;
};

}  // namespace orvalen
