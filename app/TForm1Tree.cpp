// TForm1: the category tree.
#include <QTreeWidgetItem>
#include <charconv>

#include "app/BusyCursor.h"
#include "app/CategoryList.h"
#include "app/TForm1.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

constexpr int kMaxCategories = 60;

// The category id of a result entry; ids that are not numbers are skipped.
std::optional<qlonglong> CategoryIdOf(const TaobaoCatsInfo& entry) {
  qlonglong id = 0;
  const char* end = entry.cid.data() + entry.cid.size();
  const auto [ptr, ec] = std::from_chars(entry.cid.data(), end, id);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return id;
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, QTreeWidget* tree, const std::string& name,
                         qlonglong id) {
  const QStringList text{QString::fromStdString(name)};
  auto* node = parent ? new QTreeWidgetItem(parent, text) : new QTreeWidgetItem(tree, text);
  node->setData(0, Qt::UserRole, id);
  return node;
}

}  // namespace

void TForm1::FillCategoryTree() {
  if (CategoryResults != nullptr) {
    QTreeWidget* tree = ui->TreeView1;
    tree->clear();
    AddNode(nullptr, tree, "所有类目", 0);
    for (int i = 0; i < kMaxCategories; ++i) {
      const TaobaoCatsInfo& entry = (*CategoryResults)[i];
      if (entry.name.empty()) break;
      const auto id = CategoryIdOf(entry);
      if (IsExcludedCategory(entry.name) || !id) continue;
      QTreeWidgetItem* node = AddNode(nullptr, tree, entry.name, *id);
      new QTreeWidgetItem(node, {QString()});  // placeholder until first expanded
    }
  }
  ui->ComboBoxEx1->setCurrentIndex(0);
  ui->ComboBoxEx2->setCurrentIndex(19);
}

void TForm1::TreeView1Expanding(QTreeWidgetItem* node) {
  if (node->childCount() == 0 || !node->child(0)->text(0).isEmpty()) return;
  qDeleteAll(node->takeChildren());
  cats_.cond.parent_cid = std::to_string(node->data(0, Qt::UserRole).toLongLong());
  const BusyCursor busy;
  if (!TaobaoCats1.Fetch(cats_.cond, cats_.names, cats_.name, cats_.xml, CategoryResults)) return;
  for (int i = 0; i < kMaxCategories; ++i) {
    const TaobaoCatsInfo& entry = (*CategoryResults)[i];
    if (entry.name.empty()) break;
    if (const auto id = CategoryIdOf(entry)) AddNode(node, nullptr, entry.name, *id);
  }
}

void TForm1::TreeView1Change(QTreeWidgetItem* node) {
  if (node == nullptr || search_running_) return;
  ui->Edit1->clear();
  ui->Edit2->setText(node->text(0));
  CategoryId = std::to_string(node->data(0, Qt::UserRole).toLongLong());
  page_no_ = 1;
  StartSearch();
}

}  // namespace orvalen
