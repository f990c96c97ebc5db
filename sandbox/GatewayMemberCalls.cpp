// The member, shop and link calls of the gateway.
#include <algorithm>

#include "sandbox/AnswerSupport.h"
#include "sandbox/GatewayCalls.h"
#include "sandbox/XmlWriter.h"

namespace orvalen::sandbox {
namespace {

void WriteCredit(XmlWriter& w, const FieldSet& f, std::string_view element, const Credit& c) {
  if (!f.HasAnyOf(element)) return;
  w.Open(element);
  if (f.HasChild(element, "level")) w.Leaf("level", std::to_string(c.level));
  if (f.HasChild(element, "score")) w.Leaf("score", std::to_string(c.score));
  if (f.HasChild(element, "good_num")) w.Leaf("good_num", std::to_string(c.good_num));
  if (f.HasChild(element, "total_num")) w.Leaf("total_num", std::to_string(c.total_num));
  w.Close(element);
}

void WriteUser(XmlWriter& w, const FieldSet& f, const Seller& s) {
  w.Open("user");
  if (f.Has("sex")) w.Leaf("sex", s.sex);
  if (f.Has("nick")) w.CData("nick", s.nick);
  if (f.HasAnyOf("location")) {
    w.Open("location");
    if (f.HasChild("location", "city")) w.Leaf("city", s.city);
    if (f.HasChild("location", "state")) w.Leaf("state", s.state);
    w.Close("location");
  }
  if (f.Has("user_id")) w.Leaf("user_id", std::to_string(s.user_id));
  if (f.Has("created")) w.Leaf("created", s.created);
  if (f.Has("last_visit")) w.Leaf("last_visit", s.last_visit);
  WriteCredit(w, f, "buyer_credit", s.buyer_credit);
  WriteCredit(w, f, "seller_credit", s.seller_credit);
  w.Close("user");
}

std::string Link(const CallContext& ctx, std::string_view path, const std::string& query) {
  return ctx.base_url + std::string(path) + "?" + query + "&e=" + LinkToken(query);
}

}  // namespace

CallResult UsersGet(const CallContext& ctx) {
  const std::string fields = Param(ctx.params, "fields");
  if (fields.empty()) return CallResult::Missing("fields");
  const std::string nicks = Param(ctx.params, "nicks");
  if (nicks.empty()) return CallResult::Missing("nicks");
  const FieldSet f(fields);
  std::vector<std::string> seen;  // each member once, in the order first asked
  XmlWriter w;
  w.Open("rsp");
  for (const std::string& nick : SplitList(nicks)) {
    if (std::find(seen.begin(), seen.end(), nick) != seen.end()) continue;
    seen.push_back(nick);
    if (const Seller* s = ctx.catalogue.FindSeller(nick)) WriteUser(w, f, *s);
  }
  w.Close("rsp");
  return {0, {}, CompleteAnswer(w)};
}

CallResult ShopGet(const CallContext& ctx) {
  const std::string fields = Param(ctx.params, "fields");
  if (fields.empty()) return CallResult::Missing("fields");
  const std::string nick = Param(ctx.params, "nick");
  if (nick.empty()) return CallResult::Missing("nick");
  const FieldSet f(fields);
  XmlWriter w;
  w.Open("rsp");
  if (const Seller* s = ctx.catalogue.FindSeller(nick)) {
    w.Open("shop");
    if (f.Has("sid")) w.Leaf("sid", std::to_string(s->sid));
    if (f.Has("cid")) w.Leaf("cid", std::to_string(s->shop_cid));
    if (f.Has("nick")) w.CData("nick", s->nick);
    if (f.Has("title")) w.CData("title", s->shop_title);
    if (f.Has("desc")) w.CData("desc", s->shop_desc);
    if (f.Has("bulletin")) w.CData("bulletin", s->bulletin);
    if (f.Has("created")) w.Leaf("created", s->shop_created);
    if (f.Has("pic_path")) w.Leaf("pic_path", "/shop/" + std::to_string(s->sid) + ".gif");
    if (f.Has("modified")) w.Leaf("modified", s->shop_modified);
    w.Close("shop");
  }
  w.Close("rsp");
  return {0, {}, CompleteAnswer(w)};
}

CallResult TaobaokeShopsConvert(const CallContext& ctx) {
  const std::string fields = Param(ctx.params, "fields");
  if (fields.empty()) return CallResult::Missing("fields");
  const std::string affiliate = Param(ctx.params, "nick");
  if (affiliate.empty()) return CallResult::Missing("nick");
  const std::string sids = Param(ctx.params, "sids");
  if (sids.empty()) return CallResult::Missing("sids");
  std::vector<const Seller*> shops;
  for (const std::string& id : SplitList(sids)) {
    const auto sid = ParseNumber(id);
    if (!sid) return CallResult::Invalid("sids");
    if (const Seller* s = ctx.catalogue.FindShop(*sid)) shops.push_back(s);
  }
  const FieldSet f(fields);
  XmlWriter w;
  w.Open("rsp");
  for (const Seller* s : shops) {
    const std::string sid = std::to_string(s->sid);
    w.Open("taobaokeShop");
    if (f.Has("user_id")) w.Leaf("user_id", std::to_string(s->user_id));
    if (f.Has("shop_title")) w.CData("shop_title", s->shop_title);
    if (f.Has("click_url")) {
      w.Leaf("click_url", Link(ctx, "/shop", "sid=" + sid + "&nick=" + UrlEncode(affiliate)));
    }
    // One element whose name holds the dot, as the client reads it.
    if (f.Has("shop_commission.rate")) w.Leaf("shop_commission.rate", "5.50");
    w.Close("taobaokeShop");
  }
  w.Close("rsp");
  return {0, {}, CompleteAnswer(w)};
}

CallResult TaobaokeListurlGet(const CallContext& ctx) {
  const std::string affiliate = Param(ctx.params, "nick");
  if (affiliate.empty()) return CallResult::Missing("nick");
  const std::string q = Param(ctx.params, "q");
  if (q.empty()) return CallResult::Missing("q");
  XmlWriter w;
  w.Open("rsp").Open("taobaokeItem");
  w.Leaf("list_url_by_q",
         Link(ctx, "/list", "q=" + UrlEncode(q) + "&nick=" + UrlEncode(affiliate)));
  w.Close("taobaokeItem").Close("rsp");
  return {0, {}, CompleteAnswer(w)};
}

}  // namespace orvalen::sandbox
