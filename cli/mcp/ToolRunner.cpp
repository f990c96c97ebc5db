#include "cli/mcp/ToolRunner.h"

#include <charconv>
#include <map>

#include "config/SellerChain.h"
#include "config/SiteConfig.h"
#include "marketdata/CreditGrades.h"
#include "marketdata/Sellers.h"
#include "openapi/TaobaoCats.h"
#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"
#include "openapi/TaobaokeListurl.h"
#include "platform/WebAddress.h"

namespace orvalen {
namespace {

using nlohmann::json;

json TextContent(const std::string& text) {
  return json::array({{{"type", "text"}, {"text", text}}});
}

ToolOutcome Success(json data, const std::string& text) {
  return {{{"content", TextContent(text)}, {"structuredContent", std::move(data)}}, false, {}, {}};
}

long long WholeOr0(const std::string& text) {
  long long n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  return ec == std::errc() && end == text.data() + text.size() && n >= 0 ? n : 0;
}

// Runs one platform call on a component of its own, abortable while it runs.
template <class Component, class SetValues>
auto Call(ConfigSession& config, CancelSlot& cancel, Component& component, SetValues set_values) {
  const CancelSlot::Armed armed(cancel, [&component] { component.Abort(); });
  return PlatformCall(config.data(), config.keys(), component, set_values);
}

std::string ItemLine(const json& item) {
  std::string line = item["title"].get<std::string>() + " — " + item["price"].get<std::string>() +
                     " 元 — " + item["nick"].get<std::string>();
  if (item.contains("location")) line += ", " + item["location"].get<std::string>();
  if (item.contains("seller_credit"))
    line += ", " + item["seller_credit"]["grade"].get<std::string>();
  return line + "\n" + item["click_url"].get<std::string>() + "\n";
}

}  // namespace

ToolOutcome ToolRunner::Run(const ToolRequest& request) {
  if (auto problem = config_.Ensure()) return Failure(problem->words, problem->detail);
  switch (request.tool) {
    case Tool::SearchItems:
      return SearchItems(request.items);
    case Tool::ListCategories:
      return ListCategories(request.text);
    case Tool::SellerShopLink:
      return SellerShopLink(request.text);
    case Tool::MarketplaceSearchLink:
      break;
  }
  return MarketplaceSearchLink(request.text);
}

// The page of items, then their sellers' location and credit, as the window
// shows them; an item without a credited web link is left out.
ToolOutcome ToolRunner::SearchItems(const ItemOptions& q) {
  TTaobaokeItem component;
  const auto found =
      Call(config_, cancel_, component, [&](TaobaokeItemConditions& c) { SetItemOptions(q, c); });
  if (!found) return Failure(DescribeFailure(found.error), found.error.message);
  std::vector<const TaobaokeItemInfo*> entries;
  std::vector<std::string> nicks;
  for (const TaobaokeItemInfo& e : *found.results) {
    if (e.title.empty()) break;
    if (!IsWebAddress(e.click_url)) continue;
    entries.push_back(&e);
    nicks.push_back(e.nick);
  }
  const json sellers = SellerFacts(nicks);
  json items = json::array();
  std::string text;
  for (const TaobaokeItemInfo* e : entries) {
    json item = {
        {"num_iid", e->iid},         {"title", e->title},
        {"price", e->price},         {"nick", e->nick},
        {"click_url", e->click_url}, {"pic_url", IsWebAddress(e->pic_url) ? e->pic_url : ""}};
    if (sellers.contains(e->nick)) item.update(sellers[e->nick]);
    text += ItemLine(item);
    items.push_back(std::move(item));
  }
  const long long total = WholeOr0((*found.results)[0].totalResults);
  const json data = {
      {"total_results", total}, {"page", WholeOr0(q.page_no)}, {"items", std::move(items)}};
  return Success(data, std::to_string(total) + " items found; page " + q.page_no + ":\n" + text);
}

// {nick: {"location", "seller_credit"}} for the sellers the member answer
// names; empty when that call fails (the items stand without them).
json ToolRunner::SellerFacts(const std::vector<std::string>& nicks) {
  json facts = json::object();
  if (nicks.empty()) return facts;
  std::string list;
  for (const std::string& nick : nicks) list += nick + ",";
  TTaobaoUsers component;
  const auto found =
      Call(config_, cancel_, component, [&](TaobaoUsersConditions& c) { c.nicks = list; });
  if (!found) return facts;
  for (const TaobaoUsersInfo& member : *found.results) {
    if (member.created.empty()) break;
    if (member.nick.empty()) continue;
    json& seller = facts[member.nick] = json::object();
    const std::string location = SellerLocation(member.state, member.city);
    if (!location.empty()) seller["location"] = location;
    const int level = CreditLevelOf(member.seller_credit.level);
    if (level >= 1 && level <= 20) {
      seller["seller_credit"] = {{"level", level},
                                 {"grade", CreditGradeName(level)},
                                 {"key", std::string(CreditKeys()[level - 1])}};
    }
  }
  return facts;
}

ToolOutcome ToolRunner::ListCategories(const std::string& parent_cid) {
  const std::string parent = parent_cid.empty() ? "0" : parent_cid;
  TTaobaoCats component;
  const auto found =
      Call(config_, cancel_, component, [&](TaobaoCatsConditions& c) { c.parent_cid = parent; });
  if (!found) return Failure(DescribeFailure(found.error), found.error.message);
  json categories = json::array();
  std::string text;
  for (const TaobaoCatsInfo& e : *found.results) {
    if (e.cid.empty()) break;
    categories.push_back({{"cid", e.cid}, {"name", e.name}, {"is_parent", e.is_parent == "true"}});
    text += e.cid + " " + e.name + (e.is_parent == "true" ? " (has subcategories)\n" : "\n");
  }
  return Success({{"parent_cid", parent}, {"categories", std::move(categories)}}, text);
}

ToolOutcome ToolRunner::SellerShopLink(const std::string& nick) {
  TTaobaoShop shop;
  TTaobaokeShop convert;
  ShopLink link;
  {
    const CancelSlot::Armed armed(cancel_, [&] {
      shop.Abort();
      convert.Abort();
    });
    link = FetchShopLink(config_.data(), config_.keys(), shop, convert, nick);
  }
  if (link.error.kind != FetchError::Kind::None) {
    return Failure(DescribeFailure(link.error), link.error.message);
  }
  if (!IsWebAddress(link.click_url)) return NotAWebAddress();
  return Success({{"nick", nick}, {"click_url", link.click_url}}, link.click_url);
}

ToolOutcome ToolRunner::MarketplaceSearchLink(const std::string& keyword) {
  TTaobaokeListurl component;
  const auto found = Call(config_, cancel_, component, [&](TaobaokeListurlConditions& c) {
    c.nick = std::string(kAffiliateNick);
    c.q = keyword;
  });
  if (!found) return Failure(DescribeFailure(found.error), found.error.message);
  const std::string url = found.results->list_url_by_q;
  if (!IsWebAddress(url)) return NotAWebAddress();
  return Success({{"keyword", keyword}, {"click_url", url}}, url);
}

ToolOutcome ToolRunner::Failure(const FailureWords& why, const std::string& detail) const {
  const std::string& words = words_ == Words::Chinese ? why.zh : why.en;
  return {{{"content", TextContent(words)}, {"isError", true}}, true, why.en, detail};
}

ToolOutcome ToolRunner::NotAWebAddress() const {
  return Failure(DescribeLinkNotAWebAddress(), "");
}

}  // namespace orvalen
