#include "app/form/ComboAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <mutex>

namespace orvalen {

ComboAccessible::ComboAccessible(QComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

QComboBox* ComboAccessible::combo() const {
  return static_cast<QComboBox*>(widget());
}

QString ComboAccessible::text(QAccessible::Text t) const {
  if (t != QAccessible::Value) return QAccessibleWidget::text(t);
  const QComboBox* box = combo();
  const QString spoken = box->currentData(Qt::AccessibleTextRole).toString();
  return spoken.isEmpty() ? box->currentText() : spoken;
}

// The list of items, as Qt's own interface has it.
int ComboAccessible::childCount() const {
  return 1;
}

QAccessibleInterface* ComboAccessible::child(int index) const {
  return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
}

int ComboAccessible::indexOfChild(const QAccessibleInterface* child) const {
  return child != nullptr && child->object() == combo()->view() ? 0 : -1;
}

QStringList ComboAccessible::actionNames() const {
  return {showMenuAction(), pressAction()};
}

void ComboAccessible::doAction(const QString& action) {
  if (action == showMenuAction() || action == pressAction()) combo()->showPopup();
}

void InstallComboAccessibility() {
  static std::once_flag once;
  std::call_once(once, [] {
    QAccessible::installFactory([](const QString& key, QObject* object) -> QAccessibleInterface* {
      auto* box = qobject_cast<QComboBox*>(object);
      if (key != QLatin1String("QComboBox") || box == nullptr) return nullptr;
      return new ComboAccessible(box);
    });
  });
}

}  // namespace orvalen
