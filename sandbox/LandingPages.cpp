#include "sandbox/LandingPages.h"

#include "platform/MarkupEscape.h"
#include "sandbox/AnswerSupport.h"

namespace orvalen::sandbox {
namespace {

std::string Page(const std::string& heading, const std::string& body) {
  return "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>" +
         EscapeMarkup(heading) +
         " - Orvalen 沙盒</title><style>body{font-family:'WenQuanYi Micro Hei',sans-serif;"
         "margin:40px;background:#FaFFF5}h1{color:#FF3300;font-size:22px}p{font-size:15px}"
         ".member{color:#0099FF;font-weight:bold}.en{color:#777;font-size:13px}</style></head>"
         "<body><h1>" +
         EscapeMarkup(heading) + "</h1>" + body + "</body></html>";
}

std::string CreditLine(const std::string& member) {
  const std::string who = member.empty() ? "（无）" : member;
  return "<p>本次访问的推广佣金记入会员：<span class=\"member\">" + EscapeMarkup(who) +
         "</span></p>";
}

Landing NotFound(const std::string& what) {
  return {404, Page("链接无效", "<p>找不到" + EscapeMarkup(what) + "。</p>"),
          "landing: unknown " + what};
}

}  // namespace

Landing ItemLanding(const Catalogue& catalogue, const Params& query) {
  const auto iid = ParseNumber(Param(query, "iid"));
  const Item* item = iid ? catalogue.FindItem(*iid) : nullptr;
  if (item == nullptr) return NotFound("商品");
  const std::string member = Param(query, "nick");
  const Seller& seller = catalogue.sellers()[item->seller];
  const std::string body =
      "<p>您通过推广链接打开了商品：<b>" + EscapeMarkup(item->title) + "</b></p><p>商品编号 " +
      std::to_string(item->iid) + "，价格 " + Money(item->price_cents) + " 元，卖家 " +
      EscapeMarkup(seller.nick) + "</p>" + CreditLine(member) + "<p class=\"en\">Opened item " +
      std::to_string(item->iid) + " through an affiliate link crediting member " +
      EscapeMarkup(member) + ".</p>";
  return {200, Page("商品", body),
          "landing: item " + std::to_string(item->iid) + " credited to " + member};
}

Landing ShopLanding(const Catalogue& catalogue, const Params& query) {
  const auto sid = ParseNumber(Param(query, "sid"));
  const Seller* shop = sid ? catalogue.FindShop(*sid) : nullptr;
  if (shop == nullptr) return NotFound("店铺");
  const std::string member = Param(query, "nick");
  const std::string body =
      "<p>您通过推广链接打开了店铺：<b>" + EscapeMarkup(shop->shop_title) + "</b>（掌柜 " +
      EscapeMarkup(shop->nick) + "，所在地 " +
      EscapeMarkup(shop->state == shop->city ? shop->city : shop->state + shop->city) + "）</p>" +
      CreditLine(member) + "<p class=\"en\">Opened the shop of " + EscapeMarkup(shop->nick) +
      " through an affiliate link crediting member " + EscapeMarkup(member) + ".</p>";
  return {200, Page("店铺", body),
          "landing: shop " + std::to_string(shop->sid) + " of " + shop->nick + " credited to " +
              member};
}

Landing ListLanding(const Params& query) {
  const std::string q = Param(query, "q");
  const std::string member = Param(query, "nick");
  if (q.empty()) return NotFound("搜索关键字");
  const std::string body = "<p>您通过推广链接打开了淘宝搜索：关键字 <b>" + EscapeMarkup(q) +
                           "</b></p>" + CreditLine(member) +
                           "<p class=\"en\">Opened the marketplace's search for \"" +
                           EscapeMarkup(q) + "\" through an affiliate link crediting member " +
                           EscapeMarkup(member) + ".</p>";
  return {200, Page("淘宝搜索", body), "landing: search \"" + q + "\" credited to " + member};
}

std::string IndexPage(const std::string& config_url, const std::string& gateway_url) {
  return Page("Orvalen 沙盒开放平台",
              "<p>这是 Orvalen 的本地沙盒：开放平台网关与配置文件的替身。</p><p>配置文件：" +
                  EscapeMarkup(config_url) + "</p><p>网关：" + EscapeMarkup(gateway_url) + "</p>");
}

}  // namespace orvalen::sandbox
