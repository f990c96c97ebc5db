// TForm1: the links of the results page, the seller chain and the
// marketplace search.
#include <QWebEngineView>

#include "app/BusyCursor.h"
#include "app/TForm1.h"
#include "config/SiteConfig.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

// Addresses this long are never one of the page's own short links.
constexpr std::size_t kLongAddress = 100;

}  // namespace

bool TForm1::WebBrowser1BeforeNavigate2(const QUrl& url) {
  const std::string s = url.toString(QUrl::FullyEncoded).toStdString();
  if (s == "about:blank" || s.size() >= kLongAddress) return false;
  if (s == "http://back/") {
    if (page_no_ > 1) {
      --page_no_;
      StartSearch();
    }
  } else if (s == "http://next/") {
    ++page_no_;
    StartSearch();
  } else {
    OpenSellerShop(SellerNickFor(url));
  }
  return true;
}

// The web view reports "http://" + nick + "/" in canonical form (host
// lower-cased, non-ASCII as punycode); the nick as the page wrote it is the
// one whose link has the same canonical form.
std::string TForm1::SellerNickFor(const QUrl& url) const {
  const QString reported = url.toString(QUrl::FullyEncoded);
  for (std::size_t i = 0; i < 40 && i < Rows.size() && !Rows[i].title.empty(); ++i) {
    const QUrl link(QString::fromStdString("http://" + Rows[i].nick + "/"));
    if (link.toString(QUrl::FullyEncoded) == reported) return Rows[i].nick;
  }
  const std::string s = reported.toStdString();
  return s.size() > 8 ? s.substr(7, s.size() - 8) : std::string();
}

void TForm1::OpenSellerShop(const std::string& nick) {
  const BusyCursor busy;
  TTaobaoShop::Records shop;
  shop.cond.app_key = item_.cond.app_key;
  shop.cond.app_secret = item_.cond.app_secret;
  shop.cond.nick = nick;
  XMLData1.ReadTaobaoShop(shop.cond, shop.names, shop.name, shop.xml);
  const TaobaoShopInfo* found = nullptr;
  if (!TaobaoShop1.Fetch(shop.cond, shop.names, shop.name, shop.xml, found)) return;

  TTaobaokeShop::Records convert;
  convert.cond.app_key = shop.cond.app_key;
  convert.cond.app_secret = shop.cond.app_secret;
  convert.cond.nick = kAffiliateNick;
  convert.cond.sids = found->sid;
  XMLData1.ReadTaobaokeShop(convert.cond, convert.names, convert.name, convert.xml);
  const ATaobaokeShopInfo* converted = nullptr;
  if (!TaobaokeShop1.Fetch(convert.cond, convert.names, convert.name, convert.xml, converted)) {
    return;
  }
  const std::string& click_url = (*converted)[0].click_url;
  if (!click_url.empty()) services_.browser->Open(QUrl(QString::fromStdString(click_url)));
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
  XMLData1.ReadTaobaokeListurl(list.cond, list.names, list.name, list.xml);
  const TaobaokeListurlInfo* found = nullptr;
  if (TaobaokeListurl1.Fetch(list.cond, list.names, list.name, list.xml, found) &&
      !found->list_url_by_q.empty()) {
    services_.browser->Open(QUrl(QString::fromStdString(found->list_url_by_q)));
  }
}

}  // namespace orvalen
