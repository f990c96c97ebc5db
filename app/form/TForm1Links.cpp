// TForm1: the links of the results page, the seller chain and the
// marketplace search.
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QStyleHints>
#include <QWebEngineView>

#include "app/form/BusyCursor.h"
#include "app/form/TForm1.h"
#include "app/page/LinkDecision.h"
#include "app/page/PageWriter.h"
#include "config/SiteConfig.h"
#include "openapi/FailureWords.h"
#include "platform/WebAddress.h"
#include "ui_TForm1.h"

Q_LOGGING_CATEGORY(lcLinks, "orvalen.links")

namespace orvalen {

// Every navigation of the results view comes here first, whatever started
// it; true: the view does not load it. The decision is made at once, on the
// page the navigation came from; the action follows from the window's own
// event loop, so that the seller chain and a new search never run inside the
// web engine's navigation callback.
bool TForm1::WebBrowser1BeforeNavigate2(const QUrl& url) {
  LinkDecision decision = writer_->Decide(url);
  if (decision.action != LinkAction::LoadInView && TooSoonAfterPageTurn()) {
    decision = {LinkAction::Drop, {}};
  }
  if (decision.action == LinkAction::LoadInView || decision.action == LinkAction::Drop) {
    emit LinkHandled(decision.action);
    return decision.action == LinkAction::Drop;
  }
  QMetaObject::invokeMethod(
      this, [this, decision] { ActOnLink(decision); }, Qt::QueuedConnection);
  return true;
}

void TForm1::ActOnLink(const LinkDecision& decision) {
  switch (decision.action) {
    case LinkAction::Back:
      TurnPage(-1);
      break;
    case LinkAction::Next:
      TurnPage(+1);
      break;
    case LinkAction::Seller:
      OpenSellerShop(decision.target);
      break;
    case LinkAction::OpenItem:
      OpenOutside(decision.target);
      break;
    case LinkAction::LoadInView:
    case LinkAction::Drop:
      break;
  }
  emit LinkHandled(decision.action);
}

// A page turn by a double click must not have its second click taken on
// the page it brings, whatever link lies under it there.
bool TForm1::TooSoonAfterPageTurn() const {
  const std::chrono::milliseconds interval(
      QGuiApplication::styleHints()->mouseDoubleClickInterval());
  return std::chrono::steady_clock::now() - page_turned_at_ < interval;
}

void TForm1::TurnPage(int delta) {
  if (busy_ || page_no_ + delta < 1) return;
  paged_from_ = ShownPage{page_no_, Rows};
  page_no_ += delta;
  page_turned_at_ = std::chrono::steady_clock::now();
  StartSearch();
}

// A chain that fails opens nothing and shows nothing; standard error says why.
void TForm1::OpenSellerShop(const std::string& nick) {
  const ShopLink link = FetchShopLink(nick);
  if (link.error.kind != FetchError::Kind::None) {
    return Say("the shop of " + nick + " not opened: " + DescribeFailure(link.error).en,
               link.error.message);
  }
  OpenOutside(link.click_url);
}

void TForm1::Button2Click() {
  const std::string keyword = ui->Edit1->text().toStdString();
  if (keyword.empty()) {
    services_.warnings->Warn(this, Caption(), QStringLiteral("请输入关键字"));
    return;
  }
  const BusyCursor busy;
  const auto list =
      PlatformCall(XMLData1, Keys(), TaobaokeListurl1, [&](TaobaokeListurlConditions& c) {
        c.q = keyword;
        c.nick = kAffiliateNick;
      });
  if (!list) {
    return Say("the marketplace's search not opened: " + DescribeFailure(list.error).en,
               list.error.message);
  }
  OpenOutside(list.results->list_url_by_q);
}

AppKeys TForm1::Keys() const {
  return {item_.cond.app_key, item_.cond.app_secret};
}

// The one way out of the program to the external browser. Only web
// addresses leave: the desktop hands any other scheme to whatever program
// claims it (a file opener, a share mounter).
void TForm1::OpenOutside(const std::string& url) {
  if (url.empty()) return;
  if (!IsWebAddress(url)) {
    qCWarning(lcLinks, "not opened: not a web address: %s",
              qPrintable(QString::fromStdString(url.substr(0, 200)).toHtmlEscaped()));
    return;
  }
  services_.browser->Open(QString::fromStdString(url));
}

}  // namespace orvalen
