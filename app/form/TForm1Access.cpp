// TForm1: what assistive technology and the keyboard alone need: names and
// labels for every control, and the focus kept where the user had it.
#include <QApplication>
#include <QLabel>
#include <QWebEngineView>

#include "app/form/TForm1.h"
#include "ui_TForm1.h"

namespace orvalen {

// Each control is named after what it is, from its label where it has one;
// the labels are tied to their controls, so a screen reader relates them.
// Nothing drawn changes.
void TForm1::SetUpAccessibility() {
  const std::pair<QWidget*, const char*> names[] = {
      {ui->Edit1, "关键字"},         {ui->Edit2, "所选类目"},       {ui->TreeView1, "商品类目"},
      {ui->ComboBoxEx1, "最低信用"}, {ui->ComboBoxEx2, "最高信用"}, {ui->ComboBox3, "所在地"},
      {ui->ComboBox2, "排序"},       {ui->SpinEdit1, "最低价格"},   {ui->SpinEdit2, "最高价格"},
      {ui->WebBrowser1, "搜索结果"},
  };
  for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromUtf8(name));
  ui->Label1->setBuddy(ui->Edit1);
  ui->Label3->setBuddy(ui->ComboBoxEx1);
  ui->Label6->setBuddy(ui->ComboBox3);
  ui->Label2->setBuddy(ui->ComboBox2);
  ui->Label4->setBuddy(ui->SpinEdit1);
  // The footer links are reached with Tab after the tree and open with
  // Return or Space (TForm1::eventFilter).
  for (QLabel* label : {ui->Label5, ui->Label7}) {
    label->setFocusPolicy(Qt::TabFocus);
    label->setAccessibleDescription(QStringLiteral("打开网站"));
  }
  setTabOrder(ui->Edit2, ui->Label5);
  setTabOrder(ui->Label5, ui->Label7);
}

// The control that has the focus when a search starts gets it back when the
// search has ended (while the search bar is disabled, the focus moves on).
void TForm1::RememberFocus() {
  QWidget* focused = QApplication::focusWidget();
  focus_before_search_ = focused != nullptr && isAncestorOf(focused) ? focused : nullptr;
}

void TForm1::RestoreFocus() {
  if (focus_before_search_ && focus_before_search_->isEnabled()) {
    focus_before_search_->setFocus(Qt::OtherFocusReason);
  }
  focus_before_search_.clear();
}

}  // namespace orvalen
