#include "app/form/InputFilter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/form/ThreadHandOff.h"

namespace orvalen {
namespace {

constexpr Qt::KeyboardModifiers kCommand = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

}  // namespace

InputFilter::InputFilter(QWidget* guarded, QObject* parent, Command command)
    : QObject(parent), guarded_(guarded), command_(std::move(command)) {}

bool InputFilter::Inside(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o == guarded_) return true;
  }
  return false;
}

bool InputFilter::PassesToView(const QKeyEvent& key) {
  if (key.modifiers() & kCommand) return false;
  // Shift+F10 asks for the menu of what has the focus, as the Menu key does.
  if (key.key() == Qt::Key_F10) return key.modifiers() == Qt::ShiftModifier;
  switch (key.key()) {
    case Qt::Key_Menu:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

// Zoom keys go with Ctrl alone (Shift may be needed to type the plus), as
// the keypad's do.
std::optional<ViewCommand> InputFilter::CommandOf(const QKeyEvent& key) {
  if (key.matches(QKeySequence::Copy)) return ViewCommand::Copy;
  if (key.matches(QKeySequence::SelectAll)) return ViewCommand::SelectAll;
  const Qt::KeyboardModifiers held = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (held != Qt::ControlModifier) return std::nullopt;
  switch (key.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return ViewCommand::ZoomIn;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return ViewCommand::ZoomOut;
    case Qt::Key_0:
      return ViewCommand::ZoomReset;
    default:
      return std::nullopt;
  }
}

bool InputFilter::FilterKey(QObject* watched, QKeyEvent* key) {
  if (const std::optional<ViewCommand> command = CommandOf(*key)) {
    key->accept();  // a ShortcutOverride taken here keeps the window's shortcuts out
    if (key->type() == QEvent::KeyPress && command_) command_(*command);
    return true;
  }
  if (!PassesToView(*key)) return true;
  if (key->type() == QEvent::ShortcutOverride) {
    // Taken by the view: the window's Return shortcut does not fire.
    key->accept();
    return true;
  }
  if (key->key() != Qt::Key_Space) return false;
  // Space on a focused link opens it, as Return does; the page itself would
  // scroll instead.
  QKeyEvent as_return(key->type(), Qt::Key_Return, key->modifiers(), QStringLiteral("\r"),
                      key->isAutoRepeat());
  QCoreApplication::sendEvent(watched, &as_return);
  return true;
}

// Every button goes on without Alt and Meta. The right one reaches the page
// so that the engine asks for a menu, which the window answers with its own.
bool InputFilter::FilterMouse(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  mouse->setModifiers(mouse->modifiers() & ~(Qt::AltModifier | Qt::MetaModifier));
  return false;
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  // The first of the program's code to see each event, the worker's notices
  // included.
  TakeOver(event);
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
      return guarded_ && Inside(watched) && FilterKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::ContextMenu:
      return guarded_ && Inside(watched);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return guarded_ && Inside(watched) && FilterMouse(event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (!guarded_ || !Inside(watched)) return false;
      static_cast<QDropEvent*>(event)->setDropAction(Qt::IgnoreAction);
      event->ignore();
      return true;
    default:
      return false;
  }
}

}  // namespace orvalen
