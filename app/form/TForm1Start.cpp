// TForm1: the window's start. The window is on the screen at once; the
// configuration, the name tables and the top-level categories load on a
// thread of their own meanwhile, in the order the construction steps
// give, and the first search follows once they are in.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QTreeWidget>

#include "app/form/FontCheck.h"
#include "app/form/TForm1.h"
#include "app/form/ThreadHandOff.h"
#include "config/ConfigProblem.h"
#include "config/SiteConfig.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

const char* const kLoadingCaption = "正在读取配置，请稍等......";

// In English: without a Chinese font, Chinese words would be boxes too.
const char* const kNoChineseFont =
    "No font for Chinese text is installed, so the window's words show as empty boxes. Install "
    "the package %1, then start Orvalen again.";

}  // namespace

// Everything the loader touches (the configuration reader, the records,
// the category component and its results) is the window's again only once
// it has handled the loader's notice.
void TForm1::StartLoading() {
  WarnWithoutChineseFont();
  ConfigUrl = services_.config_url.empty() ? DefaultConfigUrl() : services_.config_url;
  item_.cond.nick = kAffiliateNick;
  page_no_ = 1;
  CategoryResults = nullptr;
  busy_ = true;
  SetSearchControlsEnabled(false);
  ui->TreeView1->setEnabled(false);
  SetCaption(QString::fromUtf8(kLoadingCaption));
  QApplication::setOverrideCursor(Qt::BusyCursor);
  loader_ = std::thread([this] {
    Construct();
    auto* notice = new QEvent(WM_LOADED);
    HandOff(notice);
    QCoreApplication::postEvent(this, notice);
  });
}

// Said once on standard error, and in the window once it is on the screen.
void TForm1::WarnWithoutChineseFont() {
  if (ChineseFontInstalled()) return;
  const QString text = QString::fromUtf8(kNoChineseFont).arg(QLatin1String(kChineseFontPackage));
  Say(text.toStdString(), "");
  QTimer::singleShot(
      0, this, [this, text] { services_.warnings->Warn(this, QStringLiteral("Orvalen"), text); });
}

void TForm1::Construct() {
  const bool loaded = XMLData1.LoadKeys(ConfigUrl, cats_.cond.app_key, cats_.cond.app_secret);
  config_problem_ = DescribeConfigProblem(ConfigUrl, loaded, XMLData1, cats_.cond.app_key);
  if (!loaded) return;
  XMLData1.Read(cats_);
  users_.cond.app_key = item_.cond.app_key = cats_.cond.app_key;
  users_.cond.app_secret = item_.cond.app_secret = cats_.cond.app_secret;
  XMLData1.Read(item_);
  XMLData1.Read(users_);
  const auto categories = TaobaoCats1.Fetch(cats_);
  CategoryResults = categories.results;
  if (!categories) categories_problem_ = categories.error;
}

void TForm1::Loaded() {
  loader_.join();
  QApplication::restoreOverrideCursor();
  if (config_problem_) {
    Say("configuration: " + config_problem_->words.en, config_problem_->detail);
  } else if (categories_problem_.kind != FetchError::Kind::None) {
    Say("categories not loaded: " + DescribeFailure(categories_problem_).en,
        categories_problem_.message);
  }
  ui->TreeView1->setEnabled(true);
  SetSearchControlsEnabled(true);
  busy_ = false;
  FormCreate();
}

void TForm1::FormCreate() {
  FillCategoryTree();
  // Nothing is selected in the tree: without a current item set once, the
  // tree would pick its first node on taking the focus, and search again.
  ui->TreeView1->setCurrentIndex(QModelIndex());
  SetCaption(Caption());
  TreeView1Change(ui->TreeView1->topLevelItem(0));
}

// One line on standard error (or the diagnostics sink) for a failure, with
// what the transport said where it says more.
void TForm1::Say(const std::string& line, const std::string& detail) {
  diagnostics_(QString::fromStdString(detail.empty() ? line : line + " (" + detail + ")"));
}

}  // namespace orvalen
