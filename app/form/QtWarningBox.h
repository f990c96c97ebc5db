// QtWarningBox: WarningBox as a modal QMessageBox owned by the window.
#pragma once

#include "app/form/WarningBox.h"

namespace orvalen {

class QtWarningBox : public WarningBox {
 public:
  void Warn(QWidget* owner, const QString& title, const QString& text) override;
};

}  // namespace orvalen
