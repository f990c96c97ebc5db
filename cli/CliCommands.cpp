#include "cli/CliCommands.h"

#include "config/SiteConfig.h"

namespace orvalen {
namespace {

void AppendCredit(Row& row, const std::string& prefix, const UserCredit& c) {
  row.emplace_back(prefix + ".level", c.level);
  row.emplace_back(prefix + ".score", c.score);
  row.emplace_back(prefix + ".good_num", c.good_num);
  row.emplace_back(prefix + ".total_num", c.total_num);
}

// One result entry as labelled fields, in record order: the answer fields
// of the call's description, labelled by their configuration leaves.
template <class Call>
Row ToRow(const typename Call::Entry& e) {
  Row row;
  for (const auto& field : Call::kAnswerNames) {
    row.emplace_back(std::string(field.leaf), e.*field.member);
    // The total count sits after the price in an item entry.
    if constexpr (requires { e.totalResults; }) {
      if (field.member == &Call::Entry::price) row.emplace_back("totalResults", e.totalResults);
    }
  }
  if constexpr (requires { e.buyer_credit; }) {
    AppendCredit(row, "buyer_credit", e.buyer_credit);
    AppendCredit(row, "seller_credit", e.seller_credit);
  }
  return row;
}

template <class Call>
std::vector<Row> ToRows(const typename Call::Entry& single) {
  return {ToRow<Call>(single)};
}

template <class Call, std::size_t N>
std::vector<Row> ToRows(const std::array<typename Call::Entry, N>& entries) {
  std::vector<Row> rows;
  for (const auto& e : entries) rows.push_back(ToRow<Call>(e));
  return rows;
}

}  // namespace

void SetItemOptions(const ItemOptions& q, TaobaokeItemConditions& c) {
  c.nick = std::string(kAffiliateNick);
  c.keyword = q.keyword;
  c.cid = q.cid;
  c.start_price = q.start_price;
  c.end_price = q.end_price;
  c.start_credit = q.start_credit;
  c.end_credit = q.end_credit;
  c.area = q.area;
  c.sort = q.sort;
  c.page_no = q.page_no;
}

CliCommands::CliCommands(std::string config_url) : config_(std::move(config_url)) {}

template <class Component, class SetValues>
CallOutcome CliCommands::Call(SetValues set_values) {
  if (auto problem = config_.Ensure()) return {false, {}, problem->words, problem->detail};
  Component component;
  const auto found = PlatformCall(config_.data(), config_.keys(), component, set_values);
  if (!found) return {false, {}, DescribeFailure(found.error), found.error.message};
  return {true, ToRows<typename Component::Description>(*found.results), {}, {}};
}

CallOutcome CliCommands::Cats(const std::string& parent_cid) {
  return Call<TTaobaoCats>([&](TaobaoCatsConditions& c) { c.parent_cid = parent_cid; });
}

CallOutcome CliCommands::Items(const ItemOptions& q) {
  return Call<TTaobaokeItem>([&](TaobaokeItemConditions& c) { SetItemOptions(q, c); });
}

CallOutcome CliCommands::Users(const std::string& nicks) {
  return Call<TTaobaoUsers>([&](TaobaoUsersConditions& c) { c.nicks = nicks; });
}

CallOutcome CliCommands::Shop(const std::string& nick) {
  return Call<TTaobaoShop>([&](TaobaoShopConditions& c) { c.nick = nick; });
}

CallOutcome CliCommands::Convert(const std::string& sids) {
  return Call<TTaobaokeShop>([&](TaobaokeShopConditions& c) {
    c.nick = kAffiliateNick;
    c.sids = sids;
  });
}

CallOutcome CliCommands::Listurl(const std::string& keyword) {
  return Call<TTaobaokeListurl>([&](TaobaokeListurlConditions& c) {
    c.nick = kAffiliateNick;
    c.q = keyword;
  });
}

}  // namespace orvalen
