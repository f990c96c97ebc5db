// InputFilter: an application-wide event filter that keeps keyboard input,
// the right mouse button and context menus away from one widget (the
// results view) and everything inside it. Left clicks, the wheel and
// scrolling pass.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace orvalen {

class InputFilter : public QObject {
  Q_OBJECT
 public:
  InputFilter(QWidget* guarded, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Inside(QObject* object) const;
  QPointer<QWidget> guarded_;
};

}  // namespace orvalen
