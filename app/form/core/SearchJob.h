// SearchJob: one search of the window, everything the worker thread needs
// and produces, with no widget in it. The window copies its controls and
// records into a job on the user-interface thread, the worker runs it, and
// the window takes the rows back when the worker reports.
//
//   SearchJob job{controls, item_records, user_records, badge_base};
//   bool found = RunSearch(item_component, user_component, job);  // job.rows
#pragma once

#include <string>
#include <string_view>

#include "app/page/core/Info.h"
#include "marketdata/CreditGrades.h"
#include "marketdata/Sellers.h"
#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"

namespace orvalen {

// The search bar's values when the search started (ranges already in order).
struct SearchControls {
  std::string keyword;
  int low_price = 0, high_price = 0;
  // Item indexes of the credit combo boxes: the full range by default.
  int low_credit = 0, high_credit = static_cast<int>(CreditKeys().size()) - 1;
  int area_index = 0;
  std::string area_text;
  int sort_index = 0;
  std::string category_id = "0";
  int page_no = 1;
};

struct SearchJob {
  SearchControls controls;
  TTaobaokeItem::Records items;
  TTaobaoUsers::Records users;
  std::string badge_base_url;
  PInfo rows;
  FetchError error;  // why the item search failed
};

// Writes the controls into the item-search request values.
void SetItemConditions(const SearchControls& controls, TaobaokeItemConditions& cond);

// The item search: true when the call succeeded, rows filled from its
// entries; on false, job.error says why.
bool FetchItems(TTaobaokeItem& component, SearchJob& job);
// The sellers' location and credit badge, matched to the rows by nick.
bool FetchSellerCredits(TTaobaoUsers& component, SearchJob& job);
// Both, as the worker runs them; the result is that of the item search.
bool RunSearch(TTaobaokeItem& items, TTaobaoUsers& users, SearchJob& job);

// The badge file for a seller credit level "1" to "20"; "" for anything else.
std::string BadgeFile(std::string_view level);

}  // namespace orvalen
