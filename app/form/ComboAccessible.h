// ComboAccessible: what assistive technology is told of the window's combo
// boxes. Qt's own interface names a combo box after its current text on
// Linux and gives an item without text no value at all, so a box showing
// pictures only (the credit grades) would be silent, and the others are
// announced by their value instead of what they are. Here the name is the
// box's accessible name (else its label's text), and the value is the
// current item's accessible text (else its text).
//
//   InstallComboAccessibility();   // before the first combo box is made
//   combo->setAccessibleName("最低信用");
//   combo->setItemData(i, "3心", Qt::AccessibleTextRole);
#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace orvalen {

class ComboAccessible : public QAccessibleWidget {
 public:
  explicit ComboAccessible(QComboBox* combo);

  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;

 private:
  QComboBox* combo() const;
};

// Makes every QComboBox of the program use ComboAccessible.
void InstallComboAccessibility();

}  // namespace orvalen
