// TForm1: the category tree.
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidgetItem>
#include <charconv>

#include "app/form/BusyCursor.h"
#include "app/form/TForm1.h"
#include "app/form/core/CategoryList.h"
#include "marketdata/CreditGrades.h"
#include "openapi/FailureWords.h"
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
    searched_node_ = nullptr;
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
  ui->ComboBoxEx2->setCurrentIndex(static_cast<int>(CreditKeys().size()) - 1);
}

void TForm1::TreeView1Expanding(QTreeWidgetItem* node) {
  if (node->childCount() == 0 || !node->child(0)->text(0).isEmpty()) return;
  qDeleteAll(node->takeChildren());
  cats_.cond.parent_cid = std::to_string(node->data(0, Qt::UserRole).toLongLong());
  const BusyCursor busy;
  const auto found = TaobaoCats1.Fetch(cats_);
  if (!found) {
    Say("categories under " + node->text(0).toStdString() +
            " not loaded: " + DescribeFailure(found.error).en,
        found.error.message);
    // Stays expandable: the next expansion tries again.
    new QTreeWidgetItem(node, {QString()});
    QTimer::singleShot(0, node->treeWidget(),
                       [tree = node->treeWidget(), node] { tree->collapseItem(node); });
    return;
  }
  CategoryResults = found.results;
  for (int i = 0; i < kMaxCategories; ++i) {
    const TaobaoCatsInfo& entry = (*CategoryResults)[i];
    if (entry.name.empty()) break;
    if (const auto id = CategoryIdOf(entry)) AddNode(node, nullptr, entry.name, *id);
  }
}

void TForm1::TreeView1Change(QTreeWidgetItem* node) {
  if (node == nullptr || busy_) return;
  // Nothing is highlighted for the first search, which FormCreate starts.
  searched_node_ = ui->TreeView1->currentItem();
  ui->Edit1->clear();
  ui->Edit2->setText(node->text(0));
  CategoryId = std::to_string(node->data(0, Qt::UserRole).toLongLong());
  page_no_ = 1;
  StartSearch();
}

// A selection refused during a search moves the highlight; put it back on
// the node searched, without raising another change.
void TForm1::RestoreTreeHighlight() {
  QTreeWidget* tree = ui->TreeView1;
  if (tree->currentItem() == searched_node_) return;
  const QSignalBlocker quiet(tree);
  if (searched_node_ != nullptr) {
    tree->setCurrentItem(searched_node_);
  } else {
    tree->setCurrentIndex(QModelIndex());
    tree->clearSelection();
  }
}

}  // namespace orvalen
