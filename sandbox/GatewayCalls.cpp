#include "sandbox/GatewayCalls.h"

#include <type_traits>

#include "marketdata/CreditGrades.h"
#include "sandbox/AnswerSupport.h"
#include "sandbox/ItemSearch.h"

namespace orvalen::sandbox {
namespace {

void WriteCategory(AnswerWriter& w, const FieldSet& f, const Category& c) {
  w.Entry();
  if (f.Has("cid")) w.Number("cid", c.cid);
  if (f.Has("parent_cid")) w.Number("parent_cid", c.parent_cid);
  if (f.Has("name")) w.Markup("name", c.name);
  if (f.Has("is_parent")) w.Boolean("is_parent", c.is_parent);
  if (f.Has("status")) w.Text("status", "normal");
  if (f.Has("sort_order")) w.Number("sort_order", c.sort_order);
  w.Close();
}

// The request values of an item search, or the name of the first bad one.
struct ParsedQuery {
  ItemFilter query;
  std::string invalid;
};

ParsedQuery ParseItemFilter(const Params& p) {
  ParsedQuery out;
  ItemFilter& q = out.query;
  q.terms = KeywordTerms(Param(p, "keyword"));
  q.areas = SplitList(Param(p, "area"));
  const auto number = [&](const char* name, auto& target, long lo, long hi) {
    const std::string text = Param(p, name);
    if (text.empty()) return;
    const auto v = ParseNumber(text);
    if (!v || *v < lo || *v > hi) {
      out.invalid = name;
    } else {
      target = static_cast<std::remove_reference_t<decltype(target)>>(*v);
    }
  };
  number("cid", q.cid, 0, 999999999);
  number("page_no", q.page_no, 1, 100000);
  number("page_size", q.page_size, 1, 40);
  const auto price = [&](const char* name, std::optional<long>& target) {
    const std::string text = Param(p, name);
    if (text.empty()) return;
    target = ParseCents(text);
    if (!target) out.invalid = name;
  };
  price("start_price", q.min_price_cents);
  price("end_price", q.max_price_cents);
  const auto credit = [&](const char* name, int& target) {
    const std::string text = Param(p, name);
    if (text.empty()) return;
    if (const auto level = CreditLevel(text)) {
      target = *level;
    } else {
      out.invalid = name;
    }
  };
  credit("start_credit", q.min_level);
  credit("end_credit", q.max_level);
  const std::string sort = Param(p, "sort");
  if (!sort.empty()) {
    if (const auto key = ParseSortKey(sort)) {
      q.sort = *key;
    } else {
      out.invalid = "sort";
    }
  }
  return out;
}

void WriteItem(AnswerWriter& w, const CallContext& ctx, const FieldSet& f, const Item& item,
               const std::vector<std::string>& terms, const std::string& affiliate) {
  const Seller& seller = ctx.catalogue.sellers()[item.seller];
  const std::string iid = std::to_string(item.iid);
  const long commission = item.price_cents * item.commission_rate / 10000;
  // The platform gives the old `iid` as text and `num_iid` as a number, and
  // the commission figures as text.
  w.Entry();
  if (f.Has("iid")) w.Text("iid", iid);
  if (f.Has("num_iid")) w.Number("num_iid", item.iid);
  if (f.Has("title")) w.Markup("title", Highlight(item.title, item.folded_title, terms));
  if (f.Has("nick")) w.Markup("nick", seller.nick);
  if (f.Has("pic_url")) w.Text("pic_url", ctx.base_url + "/pic/" + iid + ".gif");
  if (f.Has("price")) w.Text("price", Money(item.price_cents));
  if (f.Has("click_url")) {
    w.Text("click_url", ctx.base_url + "/click?iid=" + iid + "&nick=" + UrlEncode(affiliate) +
                            "&e=" + LinkToken(iid + affiliate));
  }
  if (f.Has("commission")) w.Text("commission", Money(commission));
  if (f.Has("commission_rate")) w.Text("commission_rate", std::to_string(item.commission_rate));
  if (f.Has("commission_num")) w.Text("commission_num", std::to_string(item.commission_num));
  if (f.Has("commission_volume")) {
    w.Text("commission_volume", Money(commission * item.commission_num));
  }
  w.Close();
}

}  // namespace

CallResult ItemCatsGet(const CallContext& ctx) {
  const std::string parent = Param(ctx.params, "parent_cid");
  const std::string cids = Param(ctx.params, "cids");
  if (parent.empty() && cids.empty()) return CallResult::Missing("parent_cid or cids");
  std::vector<const Category*> found;
  if (!cids.empty()) {
    for (const std::string& id : SplitList(cids)) {
      const auto cid = ParseNumber(id);
      if (!cid) return CallResult::Invalid("cids");
      if (const Category* c = ctx.catalogue.FindCategory(*cid)) found.push_back(c);
    }
  } else {
    const auto parent_cid = ParseNumber(parent);
    if (!parent_cid) return CallResult::Invalid("parent_cid");
    found = ctx.catalogue.Children(*parent_cid);
  }
  const std::string fields = Param(ctx.params, "fields");
  const FieldSet f(fields.empty() ? "cid,parent_cid,name,is_parent" : fields);
  ctx.answer.BeginList("item_cats", "item_cat");
  for (const Category* c : found) WriteCategory(ctx.answer, f, *c);
  ctx.answer.EndList();
  return {};
}

CallResult TaobaokeItemsGet(const CallContext& ctx) {
  const Params& p = ctx.params;
  const std::string fields = Param(p, "fields");
  if (fields.empty()) return CallResult::Missing("fields");
  const std::string affiliate = Param(p, "nick");
  if (affiliate.empty()) return CallResult::Missing("nick");
  if (Param(p, "cid").empty() && Param(p, "keyword").empty()) {
    return CallResult::Missing("cid or keyword");
  }
  const ParsedQuery parsed = ParseItemFilter(p);
  if (!parsed.invalid.empty()) return CallResult::Invalid(parsed.invalid);

  const SearchPage page = ctx.search.Search(parsed.query);
  const FieldSet f(fields);
  AnswerWriter& w = ctx.answer;
  w.Number({"total_results", "totalResults"}, page.total);
  w.BeginList("taobaoke_items", {"taobaoke_item", "taobaokeItem"});
  for (const Item* item : page.items) WriteItem(w, ctx, f, *item, parsed.query.terms, affiliate);
  w.EndList();
  return {};
}

}  // namespace orvalen::sandbox
