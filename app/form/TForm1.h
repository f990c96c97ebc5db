// TForm1: the shopping browser's main window. A category tree on the left,
// the search bar on top and the results page on the right; searches run on
// a worker thread, one at a time, and report back with two events.
//
//   TForm1 form({.config_url = url, .browser = b, .warnings = w});
//   form.show();
//
// Everything the window needs from outside (the configuration address, the
// external browser, the message box, the clipboard, the file chooser, the
// start time) comes in through FormServices, so that tests can replace it.
#pragma once

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/form/Clipboard.h"
#include "app/form/ExternalBrowser.h"
#include "app/form/InputFilter.h"
#include "app/form/SearchTiming.h"
#include "app/form/WarningBox.h"
#include "app/form/core/SearchJob.h"
#include "app/form/core/SiteAddresses.h"
#include "app/page/LinkDecision.h"
#include "app/skin/SkinData.h"
#include "config/ConfigProblem.h"
#include "config/PlatformCall.h"
#include "config/SellerChain.h"
#include "config/XMLData.h"
#include "openapi/TaobaoCats.h"
#include "openapi/TaobaoShop.h"
#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"
#include "openapi/TaobaokeListurl.h"
#include "openapi/TaobaokeShop.h"

class QLabel;
class QTreeWidgetItem;
namespace Ui {
class TForm1;
}

namespace orvalen {

class InterceptingPage;
class PageWriter;

inline constexpr QEvent::Type WM_SEARCH_DONE = static_cast<QEvent::Type>(1045);
inline constexpr QEvent::Type WM_SEARCH_FAILED = static_cast<QEvent::Type>(1046);
// The configuration and the top-level categories have loaded (or failed to).
inline constexpr QEvent::Type WM_LOADED = static_cast<QEvent::Type>(1047);

struct FormServices {
  std::string config_url;                    // empty: the built-in configuration address
  std::shared_ptr<ExternalBrowser> browser;  // null: the desktop's browser
  std::shared_ptr<WarningBox> warnings;      // null: a message box
  std::shared_ptr<Clipboard> clipboard;      // null: the desktop's clipboard
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  // The longest any one call on the window's own thread may block it (the
  // configuration, a category expansion, each call of the seller chain, the
  // list URL).
  std::chrono::seconds ui_call_limit{15};
  std::string skin;  // "" (the built-in skin), "dark", "none" or a skin file; see SkinData
  // Where the QR dialog saves its picture; null: the desktop's file dialog.
  std::function<QString(QWidget* parent, const QString& suggested)> choose_file;
  // The footer links and the badges' pictures; see SiteAddresses.
  SiteAddresses site = SiteAddresses::BuiltIn();
  // Warnings for whoever runs the program (a skin that cannot be used, a
  // configuration that cannot be read); null: standard error.
  std::function<void(const QString& line)> diagnostics;
};

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(FormServices services, QWidget* parent = nullptr);
  ~TForm1() override;

  // The window is loading, a search is running, or its outcome has not
  // been handled yet.
  bool SearchRunning() const { return busy_; }
  // The search's worker thread has not ended yet.
  bool WorkerRunning() const { return search_running_; }
  int PageNo() const { return page_no_; }
  // The item-search request values of the last search that ended.
  const TaobaokeItemConditions& ItemConditions() const { return item_.cond; }

 signals:
  // A successful search's results page is shown: laid out, the pictures in
  // view loaded and painted. A failed search, and the empty page shown
  // while a search runs, emit nothing.
  void ResultsShown();
  // A navigation of the results view has been decided and acted on (for a
  // seller, once the chain has ended; for paging, once the search started
  // or was refused).
  void LinkHandled(orvalen::LinkAction action);

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Names in CamelCase without a trailing underscore (FormCreate,
  // TreeView1Change, TaobaokeItem1, ConfigUrl, Rows, ...) are the window's
  // documented handlers, components and state; lower-case names with a
  // trailing underscore and the helpers between them are this
  // implementation's own.
  void StartLoading();
  void WarnWithoutChineseFont();
  void Construct();
  void Loaded();
  void FormCreate();
  void Say(const std::string& line, const std::string& detail);
  void SetUpControls();
  void StyleControls();
  void PlaceOnScreen();
  void FitInto(const QSize& client);
  void FillFixedLists();
  void SetUpFooterLinks();
  void SetUpResultsView();
  void SetUpAccessibility();
  void ConnectControls();
  void FormResize();

  // The category tree.
  void FillCategoryTree();
  void TreeView1Expanding(QTreeWidgetItem* node);
  void TreeView1Change(QTreeWidgetItem* node);

  // Searching.
  void Button1Click();
  void StartSearch();
  void NormaliseRanges();
  SearchControls CopyControls() const;
  void SetSearchControlsEnabled(bool enabled);
  void SearchDone();
  void SearchFailed();
  void EndSearch();
  void RememberFocus();
  void RestoreFocus();
  void RestoreTreeHighlight();
  void ShowHtml(const std::string& text, LinkTable links = {});
  void JoinWorker();

  // Links and the marketplace.
  bool WebBrowser1BeforeNavigate2(const QUrl& url);
  bool TooSoonAfterPageTurn() const;
  void ActOnLink(const LinkDecision& decision);
  void TurnPage(int delta);
  void OpenSellerShop(const std::string& nick);
  ShopLink FetchShopLink(const std::string& nick);

  // The results' menu and sharing.
  void SetUpLinkMenu();
  void ShowLinkMenu(const QPoint& at);
  std::string ShareOf(const std::string& click_url) const;
  void ShowQrCode(const std::string& link);
  std::optional<std::string> ShopLinkFor(const std::string& nick, const char* what);
  AppKeys Keys() const;  // the configuration's key and secret
  void OpenOutside(const std::string& url);
  void Button2Click();
  void SetCaption(const QString& caption);
  void SetHover(QLabel* label, bool hover);
  void ViewCommandGiven(ViewCommand command);
  bool FooterLinkEvent(QLabel* label, QEvent* e);
  static QString Caption();  // the window's own caption

  std::unique_ptr<Ui::TForm1> ui;
  FormServices services_;

  TTaobaokeItem TaobaokeItem1;
  TTaobaoCats TaobaoCats1;
  TTaobaoUsers TaobaoUsers1;
  TTaobaokeListurl TaobaokeListurl1;
  TTaobaoShop TaobaoShop1;
  TTaobaokeShop TaobaokeShop1;
  TXMLData XMLData1;
  SkinData SkinData1;

  std::string ConfigUrl;
  TTaobaokeItem::Records item_;
  TTaobaoUsers::Records users_;
  TTaobaoCats::Records cats_;
  const ATaobaoCatsInfo* CategoryResults = nullptr;
  int page_no_ = 1;
  PInfo Rows;
  std::string CategoryId = "0";
  // Why the configuration read at start cannot be used; every search fails
  // for it, and the not-found message says so.
  std::optional<ConfigProblem> config_problem_;
  FetchError categories_problem_;  // why the top-level categories did not load
  std::thread loader_;             // loads the configuration and the categories at start
  std::function<void(const QString&)> diagnostics_;

  // The worker's own flag, cleared as its last act; the window counts as
  // busy until it has handled the worker's notice, so a job is never
  // replaced while its notice is pending.
  std::atomic<bool> search_running_{false};
  bool busy_ = false;
  // The window owns the job. The worker alone uses it from its start until
  // it posts its notice (HandOff carries the job's results across); the
  // window reads it when it handles the notice, and replaces it only after
  // joining that worker.
  std::unique_ptr<SearchJob> job_;
  std::thread worker_;
  QTreeWidgetItem* searched_node_ = nullptr;  // the tree's highlight for the last search
  QPointer<QWidget> focus_before_search_;     // gets the focus back when the search ends
  // The results shown before a paging search, to go back to if it fails.
  struct ShownPage {
    int page_no;
    PInfo rows;
  };
  std::optional<ShownPage> paged_from_;
  // When the last page turn started its search: a click that follows within
  // the desktop's double-click interval is the turn's own second click.
  std::chrono::steady_clock::time_point page_turned_at_;
  InterceptingPage* page_ = nullptr;
  PageWriter* writer_ = nullptr;
  SearchTiming timing_{services_.started};
  bool fitted_ = false;  // the window has been fitted to the screen's work area once shown
};

}  // namespace orvalen
