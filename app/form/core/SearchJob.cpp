#include "app/form/core/SearchJob.h"

#include "marketdata/CreditGrades.h"
#include "marketdata/SearchTables.h"

namespace orvalen {
namespace {

std::string_view At(std::span<const std::string_view> list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : "";
}

void Complete(Info& row, const TaobaoUsersInfo& member, const std::string& badge_base) {
  row.location = SellerLocation(member.state, member.city);
  const int level = CreditLevelOf(member.seller_credit.level);
  const std::string badge = BadgeFileName(level);
  row.badge_url = badge.empty() ? "" : badge_base + badge;
  row.credit = CreditGradeName(level);
}

}  // namespace

void SetItemConditions(const SearchControls& c, TaobaokeItemConditions& cond) {
  cond.keyword = c.keyword;
  cond.cid = c.category_id;
  if (c.high_price != 0) {
    cond.start_price = std::to_string(c.low_price);
    cond.end_price = std::to_string(c.high_price);
  } else {
    cond.start_price.clear();
    cond.end_price.clear();
  }
  cond.start_credit = At(CreditKeys(), c.low_credit);
  cond.end_credit = At(CreditKeys(), c.high_credit);
  cond.area = c.area_index > 4 ? c.area_text : std::string(AreaValue(c.area_index));
  const auto sorts = SortChoices();
  cond.sort = c.sort_index >= 0 && c.sort_index < static_cast<int>(sorts.size())
                  ? sorts[c.sort_index].key
                  : sorts[0].key;
  cond.page_no = std::to_string(c.page_no);
}

bool FetchItems(TTaobaokeItem& component, SearchJob& job) {
  SetItemConditions(job.controls, job.items.cond);
  job.rows.assign(kRowSlots, Info{});
  const auto found = component.Fetch(job.items);
  if (!found) {
    job.error = found.error;
    return false;
  }
  const ATaobaokeItemInfo* results = found.results;
  for (std::size_t i = 0; i < kCardsPerPage && !(*results)[i].title.empty(); ++i) {
    const TaobaokeItemInfo& e = (*results)[i];
    Info& row = job.rows[i];
    row.title = e.title;
    row.click_url = e.click_url;
    row.price = e.price;
    row.nick = e.nick;
    row.pic_url = e.pic_url;
  }
  return true;
}

bool FetchSellerCredits(TTaobaoUsers& component, SearchJob& job) {
  std::string nicks;
  for (std::size_t i = 0; i < kCardsPerPage && i < job.rows.size() && !job.rows[i].nick.empty();
       ++i) {
    nicks += job.rows[i].nick + ",";
  }
  job.users.cond.nicks = nicks;
  const auto found = component.Fetch(job.users);
  if (!found) return false;
  const ATaobaoUsersInfo* members = found.results;
  // The gateway names each seller once, however many rows are theirs: every
  // row of a seller takes that seller's entry. An entry without a nick can
  // only be placed by its position.
  for (std::size_t j = 0; j < kCardsPerPage && !(*members)[j].created.empty(); ++j) {
    const TaobaoUsersInfo& member = (*members)[j];
    if (member.nick.empty()) {
      if (j < job.rows.size()) Complete(job.rows[j], member, job.badge_base_url);
      continue;
    }
    for (std::size_t i = 0; i < kCardsPerPage && i < job.rows.size(); ++i) {
      if (job.rows[i].nick == member.nick) Complete(job.rows[i], member, job.badge_base_url);
    }
  }
  return true;
}

bool RunSearch(TTaobaokeItem& items, TTaobaoUsers& users, SearchJob& job) {
  if (!FetchItems(items, job)) return false;
  FetchSellerCredits(users, job);  // the page is shown with or without the credits
  return true;
}

std::string BadgeFile(std::string_view level) {
  return BadgeFileName(CreditLevelOf(level));
}

}  // namespace orvalen
