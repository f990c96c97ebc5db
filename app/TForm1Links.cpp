// TForm1: the links of the results page, the seller chain and the
// marketplace search.
#include <QLoggingCategory>
#include <QWebEngineView>

#include "app/BusyCursor.h"
#include "app/LinkDecision.h"
#include "app/PageWriter.h"
#include "app/TForm1.h"
#include "app/WebAddress.h"
#include "config/SiteConfig.h"
#include "ui_TForm1.h"

Q_LOGGING_CATEGORY(lcLinks, "orvalen.links")

namespace orvalen {

// Every navigation of the results view comes here first, whatever started
// it; true: the view does not load it. The decision is made at once, on the
// page the navigation came from; the action follows from the window's own
// event loop, so that the seller chain and a new search never run inside the
// web engine's navigation callback.
bool TForm1::WebBrowser1BeforeNavigate2(const QUrl& url) {
  const LinkDecision decision = writer_->Decide(url);
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

void TForm1::TurnPage(int delta) {
  if (busy_ || page_no_ + delta < 1) return;
  paged_from_ = ShownPage{page_no_, Rows};
  page_no_ += delta;
  StartSearch();
}

void TForm1::OpenSellerShop(const std::string& nick) {
  const BusyCursor busy;
  TTaobaoShop::Records shop;
  shop.cond.app_key = item_.cond.app_key;
  shop.cond.app_secret = item_.cond.app_secret;
  shop.cond.nick = nick;
  XMLData1.ReadTaobaoShop(shop.cond, shop.answer_names, shop.request_names, shop.marker_names);
  const TaobaoShopInfo* found = nullptr;
  if (!TaobaoShop1.Fetch(shop.cond, shop.answer_names, shop.request_names, shop.marker_names,
                         found))
    return;

  TTaobaokeShop::Records convert;
  convert.cond.app_key = shop.cond.app_key;
  convert.cond.app_secret = shop.cond.app_secret;
  convert.cond.nick = kAffiliateNick;
  convert.cond.sids = found->sid;
  XMLData1.ReadTaobaokeShop(convert.cond, convert.answer_names, convert.request_names,
                            convert.marker_names);
  const ATaobaokeShopInfo* converted = nullptr;
  if (!TaobaokeShop1.Fetch(convert.cond, convert.answer_names, convert.request_names,
                           convert.marker_names, converted)) {
    return;
  }
  OpenOutside((*converted)[0].click_url);
}

void TForm1::Button2Click() {
  const std::string keyword = ui->Edit1->text().toStdString();
  if (keyword.empty()) {
    services_.warnings->Warn(this, Caption(), QStringLiteral("请输入关键字"));
    return;
  }
  const BusyCursor busy;
  TTaobaokeListurl::Records list;
  list.cond.q = keyword;
  list.cond.nick = kAffiliateNick;
  list.cond.app_key = item_.cond.app_key;
  list.cond.app_secret = item_.cond.app_secret;
  XMLData1.ReadTaobaokeListurl(list.cond, list.answer_names, list.request_names, list.marker_names);
  const TaobaokeListurlInfo* found = nullptr;
  if (TaobaokeListurl1.Fetch(list.cond, list.answer_names, list.request_names, list.marker_names,
                             found)) {
    OpenOutside(found->list_url_by_q);
  }
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
