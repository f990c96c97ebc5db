#include "cli/CliCommands.h"

#include "config/SiteConfig.h"

namespace orvalen {
namespace {

Row ToRow(const TaobaokeItemInfo& e) {
  return {{"iid", e.iid},
          {"nick", e.nick},
          {"title", e.title},
          {"price", e.price},
          {"totalResults", e.totalResults},
          {"pic_url", e.pic_url},
          {"click_url", e.click_url},
          {"commission", e.commission},
          {"commission_num", e.commission_num},
          {"commission_rate", e.commission_rate},
          {"commission_volume", e.commission_volume}};
}

Row ToRow(const TaobaoCatsInfo& e) {
  return {{"cid", e.cid},
          {"name", e.name},
          {"status", e.status},
          {"is_parent", e.is_parent},
          {"parent_cid", e.parent_cid},
          {"sort_order", e.sort_order}};
}

void AppendCredit(Row& row, const std::string& prefix, const UserCredit& c) {
  row.emplace_back(prefix + ".level", c.level);
  row.emplace_back(prefix + ".score", c.score);
  row.emplace_back(prefix + ".good_num", c.good_num);
  row.emplace_back(prefix + ".total_num", c.total_num);
}

Row ToRow(const TaobaoUsersInfo& e) {
  Row row{{"sex", e.sex},
          {"nick", e.nick},
          {"city", e.city},
          {"state", e.state},
          {"user_id", e.user_id},
          {"created", e.created},
          {"last_visit", e.last_visit}};
  AppendCredit(row, "buyer_credit", e.buyer_credit);
  AppendCredit(row, "seller_credit", e.seller_credit);
  return row;
}

Row ToRow(const TaobaoShopInfo& e) {
  return {{"sid", e.sid},           {"cid", e.cid},           {"nick", e.nick},
          {"desc", e.desc},         {"title", e.title},       {"created", e.created},
          {"bulletin", e.bulletin}, {"pic_path", e.pic_path}, {"modified", e.modified}};
}

Row ToRow(const TaobaokeShopInfo& e) {
  return {{"user_id", e.user_id},
          {"click_url", e.click_url},
          {"shop_rate", e.shop_rate},
          {"shop_title", e.shop_title}};
}

Row ToRow(const TaobaokeListurlInfo& e) {
  return {{"list_url_by_q", e.list_url_by_q}};
}

template <class Entry>
std::vector<Row> ToRows(const Entry& single) {
  return {ToRow(single)};
}

template <class Entry, std::size_t N>
std::vector<Row> ToRows(const std::array<Entry, N>& entries) {
  std::vector<Row> rows;
  for (const Entry& e : entries) rows.push_back(ToRow(e));
  return rows;
}

// The last steps every command shares: Fetch and turn the entries into rows.
template <class Component>
CallOutcome Fetch(const typename Component::Records& r) {
  Component component;
  const typename Component::Results* results = nullptr;
  CallOutcome outcome;
  outcome.ok = component.Fetch(r.cond, r.names, r.name, r.xml, results);
  if (outcome.ok) {
    outcome.rows = ToRows(*results);
  } else {
    outcome.error = component.LastError().message;
  }
  return outcome;
}

}  // namespace

CliCommands::CliCommands(std::string config_url) : config_url_(std::move(config_url)) {}

bool CliCommands::LoadKeys() {
  std::string key, secret;
  if (!config_.LoadKeys(config_url_, key, secret)) return false;
  app_key_ = key;
  app_secret_ = secret;
  return true;
}

CallOutcome CliCommands::Annotate(CallOutcome outcome) const {
  if (!outcome.ok && !config_.LastError().empty()) {
    outcome.error = config_.LastError() + "; " + outcome.error;
  }
  return outcome;
}

CallOutcome CliCommands::Cats(const std::string& parent_cid) {
  TTaobaoCats::Records r;
  if (LoadKeys()) config_.ReadTaobaoCats(r.cond, r.names, r.name, r.xml);
  r.cond.app_key = app_key_;
  r.cond.app_secret = app_secret_;
  r.cond.parent_cid = parent_cid;
  return Annotate(Fetch<TTaobaoCats>(r));
}

CallOutcome CliCommands::Items(const ItemQuery& q) {
  TTaobaokeItem::Records r;
  if (LoadKeys()) config_.ReadTaobaokeItem(r.cond, r.names, r.name, r.xml);
  TaobaokeItemConditions& c = r.cond;
  c.app_key = app_key_;
  c.app_secret = app_secret_;
  c.nick = kAffiliateNick;
  c.keyword = q.keyword;
  c.cid = q.cid;
  c.start_price = q.start_price;
  c.end_price = q.end_price;
  c.start_credit = q.start_credit;
  c.end_credit = q.end_credit;
  c.area = q.area;
  c.sort = q.sort;
  c.page_no = q.page_no;
  return Annotate(Fetch<TTaobaokeItem>(r));
}

CallOutcome CliCommands::Users(const std::string& nicks) {
  TTaobaoUsers::Records r;
  if (LoadKeys()) config_.ReadTaobaoUsers(r.cond, r.names, r.name, r.xml);
  r.cond.app_key = app_key_;
  r.cond.app_secret = app_secret_;
  r.cond.nicks = nicks;
  return Annotate(Fetch<TTaobaoUsers>(r));
}

CallOutcome CliCommands::Shop(const std::string& nick) {
  TTaobaoShop::Records r;
  if (LoadKeys()) config_.ReadTaobaoShop(r.cond, r.names, r.name, r.xml);
  r.cond.app_key = app_key_;
  r.cond.app_secret = app_secret_;
  r.cond.nick = nick;
  return Annotate(Fetch<TTaobaoShop>(r));
}

CallOutcome CliCommands::Convert(const std::string& sids) {
  TTaobaokeShop::Records r;
  if (LoadKeys()) config_.ReadTaobaokeShop(r.cond, r.names, r.name, r.xml);
  r.cond.app_key = app_key_;
  r.cond.app_secret = app_secret_;
  r.cond.nick = kAffiliateNick;
  r.cond.sids = sids;
  return Annotate(Fetch<TTaobaokeShop>(r));
}

CallOutcome CliCommands::Listurl(const std::string& keyword) {
  TTaobaokeListurl::Records r;
  if (LoadKeys()) config_.ReadTaobaokeListurl(r.cond, r.names, r.name, r.xml);
  r.cond.app_key = app_key_;
  r.cond.app_secret = app_secret_;
  r.cond.nick = kAffiliateNick;
  r.cond.q = keyword;
  return Annotate(Fetch<TTaobaokeListurl>(r));
}

}  // namespace orvalen
