#include "app/form/TForm1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <cstdio>

#include "app/AppSettings.h"
#include "app/form/AppIcon.h"
#include "app/form/BusyCursor.h"
#include "app/form/ComboAccessible.h"
#include "app/form/CreditIcons.h"
#include "app/form/DesktopBrowser.h"
#include "app/form/InputFilter.h"
#include "app/form/QtWarningBox.h"
#include "app/form/SystemClipboard.h"
#include "app/form/ThreadHandOff.h"
#include "app/form/core/CategoryList.h"
#include "app/page/InterceptingPage.h"
#include "app/page/PageWriter.h"
#include "app/page/core/ResultsPage.h"
#include "config/SiteConfig.h"
#include "marketdata/CreditGrades.h"
#include "marketdata/SearchTables.h"
#include "platform/CurlHttpClient.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

constexpr int kHttpCacheBytes = 8 * 1024 * 1024;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), text.size());
}

// The window's own calls block it while they run: bound each one.
std::unique_ptr<HttpTransport> UiThreadHttp(std::chrono::seconds limit) {
  HttpOptions options;
  options.connect_timeout = std::min(options.connect_timeout, limit);
  options.read_timeout = std::min(options.read_timeout, limit);
  options.total_timeout = limit;
  return std::make_unique<CurlHttpClient>(options);
}

// Where lines for whoever runs the program go (a skin that cannot be used, a
// configuration that cannot be read, a call that failed).
SkinData::Warn DiagnosticsSink(std::function<void(const QString&)> diagnostics) {
  if (diagnostics) return diagnostics;
  return [](const QString& line) { std::fprintf(stderr, "orvalen: %s\n", qPrintable(line)); };
}

}  // namespace

TForm1::TForm1(FormServices services, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TForm1>()),
      services_(std::move(services)),
      TaobaoCats1(UiThreadHttp(services_.ui_call_limit)),
      TaobaokeListurl1(UiThreadHttp(services_.ui_call_limit)),
      TaobaoShop1(UiThreadHttp(services_.ui_call_limit)),
      TaobaokeShop1(UiThreadHttp(services_.ui_call_limit)),
      XMLData1(UiThreadHttp(services_.ui_call_limit)),
      SkinData1(services_.skin, DiagnosticsSink(services_.diagnostics)),
      diagnostics_(DiagnosticsSink(services_.diagnostics)) {
  if (!services_.browser) services_.browser = std::make_shared<DesktopBrowser>();
  if (!services_.warnings) services_.warnings = std::make_shared<QtWarningBox>();
  if (!services_.clipboard) services_.clipboard = std::make_shared<SystemClipboard>();
  // Before any combo box exists: an interface, once made, is kept.
  InstallComboAccessibility();
  ui->setupUi(this);
  SetUpControls();
  StartLoading();
}

TForm1::~TForm1() {
  // The loading and a search still running are cut short rather than waited for.
  XMLData1.Abort();
  TaobaoCats1.Abort();
  TaobaokeItem1.Abort();
  TaobaoUsers1.Abort();
  if (loader_.joinable()) loader_.join();
  JoinWorker();
}

void TForm1::SetUpControls() {
  StyleControls();
  FillFixedLists();
  SetUpFooterLinks();
  SetUpResultsView();
  SetUpAccessibility();
  ConnectControls();
}

// The window's place, icon and fonts. Its colours are the skin's, or
// without one the desktop's own: none is set here.
void TForm1::StyleControls() {
  setWindowIcon(AppIcon());
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  setFont(font);
  PlaceOnScreen();
  QFont button_font = font;
  button_font.setPixelSize(13);
  ui->Button1->setFont(button_font);
  ui->Button2->setFont(button_font);
  SkinData1.Apply(this);
}

// The credit grades, sort orders and locations of the search bar, and the
// tree's fixed category list.
void TForm1::FillFixedLists() {
  for (int grade = 0; grade < static_cast<int>(CreditKeys().size()); ++grade) {
    const QIcon icon(CreditPixmap(grade));
    // Drawn as pictures only; read in words.
    const QString words = QString::fromStdString(CreditGradeName(grade + 1));
    for (QComboBox* box : {ui->ComboBoxEx1, ui->ComboBoxEx2}) {
      box->addItem(icon, QString());
      box->setItemData(grade, words, Qt::AccessibleTextRole);
    }
  }
  for (const SortChoice& sort : SortChoices()) ui->ComboBox2->addItem(Q(sort.text));
  for (std::string_view area : AreaItems()) ui->ComboBox3->addItem(Q(area));
  for (const CategoryNode& node : FixedCategoryList()) {
    auto* item = new QTreeWidgetItem(ui->TreeView1, {Q(node.name)});
    item->setData(0, Qt::UserRole, static_cast<qlonglong>(node.id));
  }
}

void TForm1::SetUpFooterLinks() {
  ui->Label5->setText(Q(services_.site.footer_host1));
  ui->Label7->setText(Q(services_.site.footer_host2));
  for (QLabel* label : {ui->Label5, ui->Label7}) {
    label->setForegroundRole(QPalette::Link);  // the desktop's colour for links
    label->setMouseTracking(true);
    label->installEventFilter(this);
  }
}

// The web view's page, which puts every navigation to the window first, and
// the writer that fills it.
void TForm1::SetUpResultsView() {
  page_ = new InterceptingPage(
      ui->WebBrowser1, [this](const QUrl& url) { return !WebBrowser1BeforeNavigate2(url); });
  ui->WebBrowser1->setPage(page_);
  // Chromium's network service runs in this process and keeps its HTTP cache
  // in memory: every page brings forty new pictures, so bound it.
  page_->profile()->setHttpCacheMaximumSize(kHttpCacheBytes);
  SetUpLinkMenu();
  qApp->installEventFilter(new InputFilter(
      ui->WebBrowser1, this, [this](ViewCommand command) { ViewCommandGiven(command); }));
  writer_ = new PageWriter(ui->WebBrowser1, page_);
  connect(writer_, &PageWriter::Shown, this, [this] {
    if (timing_.Shown()) emit ResultsShown();
  });
  // The view starts on the empty page rather than about:blank, and at once:
  // Chromium starts its page process while the configuration and the
  // first calls run, and the first results only fill the page in.
  ShowHtml(EmptyPage());
}

void TForm1::ConnectControls() {
  connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  // The search button is the window's default: Enter in the search bar presses it.
  for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* enter = new QShortcut(QKeySequence(key), this);
    connect(enter, &QShortcut::activated, this, [this] {
      if (ui->Button1->isEnabled()) ui->Button1->click();
    });
  }
  connect(ui->TreeView1, &QTreeWidget::itemExpanded, this, &TForm1::TreeView1Expanding);
  connect(ui->TreeView1, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* node) { TreeView1Change(node); });
}

void TForm1::closeEvent(QCloseEvent* e) {
  writer_->Blank();
  e->accept();
}

bool TForm1::event(QEvent* e) {
  TakeOver(e);
  if (e->type() == WM_LOADED) {
    Loaded();
    return true;
  }
  if (e->type() == QEvent::Paint) timing_.WindowPainted();
  if (e->type() == WM_SEARCH_DONE) {
    SearchDone();
    return true;
  }
  if (e->type() == WM_SEARCH_FAILED) {
    SearchFailed();
    return true;
  }
  return QMainWindow::event(e);
}

// The footer links: red-orange with a hand cursor under the mouse or with
// the focus, blue otherwise; a left click, Return or Space opens the maker's
// site in the external browser.
bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  auto* label = qobject_cast<QLabel*>(watched);
  if (label == nullptr || (label != ui->Label5 && label != ui->Label7)) return false;
  return FooterLinkEvent(label, e);
}

bool TForm1::FooterLinkEvent(QLabel* label, QEvent* e) {
  const auto open = [this, label] {
    OpenOutside(label == ui->Label5 ? services_.site.site_root : services_.site.second_site);
  };
  switch (e->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      label->setCursor(Qt::PointingHandCursor);
      SetHover(label, true);
      return false;
    case QEvent::FocusIn:
      SetHover(label, true);
      return false;
    case QEvent::Leave:
    case QEvent::FocusOut:
      SetHover(label, label->hasFocus() || label->underMouse());
      return false;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return false;
      open();
      return true;
    case QEvent::ShortcutOverride:  // Return here opens the link, not 搜索
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
      e->accept();
      if (e->type() == QEvent::KeyPress) open();
      return true;
    }
    default:
      return false;
  }
}

// Without a skin the link is underlined under the mouse or with the focus;
// a skin reads the "hover" property.
void TForm1::SetHover(QLabel* label, bool hover) {
  QFont font = label->font();
  font.setUnderline(hover);
  label->setFont(font);
  if (label->property("hover").toBool() == hover) return;
  label->setProperty("hover", hover);
  if (!SkinData1.sheet().isEmpty()) SkinData::Repolish(label);
}

// Copy, select all and zoom, as any browser has them. The page's selection
// goes out as plain text; both are asked of the page in order, so that a
// copy right after a select all copies all. The zoom steps as Ctrl+wheel
// does, and stays with the view across searches.
void TForm1::ViewCommandGiven(ViewCommand command) {
  constexpr double kZoomStep = 0.1, kZoomMin = 0.25, kZoomMax = 5.0;
  QWebEngineView* view = ui->WebBrowser1;
  switch (command) {
    case ViewCommand::Copy:
      page_->runJavaScript(QStringLiteral("String(getSelection())"),
                           QWebEngineScript::ApplicationWorld,
                           [clipboard = services_.clipboard](const QVariant& text) {
                             if (!text.toString().isEmpty()) clipboard->SetText(text.toString());
                           });
      break;
    case ViewCommand::SelectAll:
      page_->runJavaScript(QStringLiteral("getSelection().selectAllChildren(document.body)"),
                           QWebEngineScript::ApplicationWorld);
      break;
    case ViewCommand::ZoomIn:
      view->setZoomFactor(std::min(view->zoomFactor() + kZoomStep, kZoomMax));
      break;
    case ViewCommand::ZoomOut:
      view->setZoomFactor(std::max(view->zoomFactor() - kZoomStep, kZoomMin));
      break;
    case ViewCommand::ZoomReset:
      view->setZoomFactor(1.0);
      break;
  }
}

QString TForm1::Caption() {
  return Q(kAppCaption);
}

// No application display name is set: Qt would append it to the title of
// every window, the window's own dialogs included, and each shows exactly
// its own title.
void TForm1::SetCaption(const QString& caption) {
  setWindowTitle(caption);
}

}  // namespace orvalen
