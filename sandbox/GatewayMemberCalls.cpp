// The member, shop and link calls of the gateway.
#include <algorithm>

#include "sandbox/AnswerSupport.h"
#include "sandbox/GatewayCalls.h"

namespace orvalen::sandbox {
namespace {

void WriteCredit(AnswerWriter& w, const FieldSet& f, const char* element, const Credit& c) {
  if (!f.HasAnyOf(element)) return;
  w.Open(element);
  if (f.HasChild(element, "level")) w.Number("level", c.level);
  if (f.HasChild(element, "score")) w.Number("score", c.score);
  if (f.HasChild(element, "good_num")) w.Number("good_num", c.good_num);
  if (f.HasChild(element, "total_num")) w.Number("total_num", c.total_num);
  w.Close();
}

void WriteUser(AnswerWriter& w, const FieldSet& f, const Seller& s) {
  w.Entry();
  if (f.Has("sex")) w.Text("sex", s.sex);
  if (f.Has("nick")) w.Markup("nick", s.nick);
  if (f.HasAnyOf("location")) {
    w.Open("location");
    if (f.HasChild("location", "city")) w.Text("city", s.city);
    if (f.HasChild("location", "state")) w.Text("state", s.state);
    w.Close();
  }
  if (f.Has("user_id")) w.Number("user_id", s.user_id);
  if (f.Has("created")) w.Text("created", s.created);
  if (f.Has("last_visit")) w.Text("last_visit", s.last_visit);
  WriteCredit(w, f, "buyer_credit", s.buyer_credit);
  WriteCredit(w, f, "seller_credit", s.seller_credit);
  w.Close();
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
  ctx.answer.BeginList("users", "user");
  for (const std::string& nick : SplitList(nicks)) {
    if (std::find(seen.begin(), seen.end(), nick) != seen.end()) continue;
    seen.push_back(nick);
    if (const Seller* s = ctx.catalogue.FindSeller(nick)) WriteUser(ctx.answer, f, *s);
  }
  ctx.answer.EndList();
  return {};
}

CallResult ShopGet(const CallContext& ctx) {
  const std::string fields = Param(ctx.params, "fields");
  if (fields.empty()) return CallResult::Missing("fields");
  const std::string nick = Param(ctx.params, "nick");
  if (nick.empty()) return CallResult::Missing("nick");
  const FieldSet f(fields);
  AnswerWriter& w = ctx.answer;
  if (const Seller* s = ctx.catalogue.FindSeller(nick)) {
    w.Open("shop");
    if (f.Has("sid")) w.Number("sid", s->sid);
    if (f.Has("cid")) w.Number("cid", s->shop_cid);
    if (f.Has("nick")) w.Markup("nick", s->nick);
    if (f.Has("title")) w.Markup("title", s->shop_title);
    if (f.Has("desc")) w.Markup("desc", s->shop_desc);
    if (f.Has("bulletin")) w.Markup("bulletin", s->bulletin);
    if (f.Has("created")) w.Text("created", s->shop_created);
    if (f.Has("pic_path")) w.Text("pic_path", "/shop/" + std::to_string(s->sid) + ".gif");
    if (f.Has("modified")) w.Text("modified", s->shop_modified);
    w.Close();
  }
  return {};
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
  AnswerWriter& w = ctx.answer;
  w.BeginList("taobaoke_shops", {"taobaoke_shop", "taobaokeShop"});
  for (const Seller* s : shops) {
    const std::string sid = std::to_string(s->sid);
    w.Entry();
    if (f.Has("user_id")) w.Number("user_id", s->user_id);
    if (f.Has("shop_title")) w.Markup("shop_title", s->shop_title);
    if (f.Has("click_url")) {
      w.Text("click_url", Link(ctx, "/shop", "sid=" + sid + "&nick=" + UrlEncode(affiliate)));
    }
    // v1.0: one element whose name holds the dot, as the program reads it.
    if (f.Has("shop_commission.rate")) {
      w.Text({"commission_rate", "shop_commission.rate"}, "5.50");
    }
    w.Close();
  }
  w.EndList();
  return {};
}

CallResult TaobaokeListurlGet(const CallContext& ctx) {
  const std::string affiliate = Param(ctx.params, "nick");
  if (affiliate.empty()) return CallResult::Missing("nick");
  const std::string q = Param(ctx.params, "q");
  if (q.empty()) return CallResult::Missing("q");
  AnswerWriter& w = ctx.answer;
  w.Open({"taobaoke_item", "taobaokeItem"});
  w.Text("list_url_by_q",
         Link(ctx, "/list", "q=" + UrlEncode(q) + "&nick=" + UrlEncode(affiliate)));
  w.Close();
  return {};
}

}  // namespace orvalen::sandbox
