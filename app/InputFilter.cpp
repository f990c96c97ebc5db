#include "app/InputFilter.h"

#include <QEvent>
#include <QMouseEvent>

#include "app/ThreadHandOff.h"

namespace orvalen {

InputFilter::InputFilter(QWidget* guarded, QObject* parent) : QObject(parent), guarded_(guarded) {}

bool InputFilter::Inside(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o == guarded_) return true;
  }
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
