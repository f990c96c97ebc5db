#include "app/form/InputFilter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/form/ThreadHandOff.h"

namespace orvalen {

InputFilter::InputFilter(QWidget* guarded, QObject* parent) : QObject(parent), guarded_(guarded) {}

bool InputFilter::Inside(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o == guarded_) return true;
  }
  return false;
}

bool InputFilter::PassesToView(const QKeyEvent& key) {
  constexpr Qt::KeyboardModifiers kCommand =
      Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  if (key.modifiers() & kCommand) return false;
  switch (key.key()) {
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

bool InputFilter::FilterKey(QObject* watched, QKeyEvent* key) {
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
      return guarded_ && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
             Inside(watched);
    default:
      return false;
  }
}

}  // namespace orvalen
