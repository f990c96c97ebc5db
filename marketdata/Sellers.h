// Sellers: what the platform's member answer says of a seller, as a shopper
// reads it: where the seller is, and the seller's credit level.
//
//   SellerLocation("浙江", "杭州")   // "浙江杭州"
//   CreditLevelOf("12")             // 12; with CreditGrades.h, "2皇冠"
#pragma once

#include <string>
#include <string_view>

namespace orvalen {

// "浙江杭州", or just "上海" when state and city are the same.
std::string SellerLocation(const std::string& state, const std::string& city);
// A seller credit level as the platform writes it ("1" to "20"); 0 for
// anything else.
int CreditLevelOf(std::string_view level);

}  // namespace orvalen
