#include "app/form/QtWarningBox.h"

#include <QMessageBox>

namespace orvalen {

void QtWarningBox::Warn(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox::warning(owner, title, text, QMessageBox::Ok);
}

}  // namespace orvalen
