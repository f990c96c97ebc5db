// WarningBox: every message the window and its dialogs show the user goes
// through this, so that tests can answer them. QtWarningBox shows a modal
// message box.
#pragma once

#include <QString>

class QWidget;

namespace orvalen {

class WarningBox {
 public:
  virtual ~WarningBox() = default;
  // Shows `text` with a warning icon and an OK button; returns when closed.
  virtual void Warn(QWidget* owner, const QString& title, const QString& text) = 0;
};

}  // namespace orvalen
