#include "sandbox/Catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "marketdata/MarketCategories.h"
#include "sandbox/CatalogueWords.h"

namespace orvalen::sandbox {
namespace {

constexpr std::array<long, 20> kLevelFloor = {
    4,     11,    41,    91,     151,    251,    501,     1001,    2001,    5001,
    10001, 20001, 50001, 100001, 200001, 500001, 1000001, 2000001, 5000001, 10000001};

// A small deterministic generator; std distributions differ between libraries.
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
  long Between(long lo, long hi) { return lo + static_cast<long>(engine_() % (hi - lo + 1)); }
  bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
  template <class T>
  const T& Pick(std::span<const T> list) {
    return list[Below(list.size())];
  }

 private:
  std::mt19937_64 engine_;
};

std::vector<std::string> SplitName(std::string_view name) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t slash = std::min(name.find('/', start), name.size());
    if (slash > start) parts.emplace_back(name.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

std::string Date(Random& r, int first_year, int last_year) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04ld-%02ld-%02ld %02ld:%02ld:%02ld",
                r.Between(first_year, last_year), r.Between(1, 12), r.Between(1, 28),
                r.Between(0, 23), r.Between(0, 59), r.Between(0, 59));
  return buf;
}

Credit MakeCredit(Random& r, int level) {
  Credit c;
  c.level = level;
  const long hi = level < 20 ? kLevelFloor[level] - 1 : kLevelFloor[19] * 2;
  c.score = r.Between(kLevelFloor[level - 1], hi);
  c.total_num = c.score + r.Between(0, c.score / 50 + 1);
  c.good_num = c.score + (c.total_num - c.score) / 2;
  return c;
}

std::string MakeNick(Random& r, std::size_t index) {
  const std::string number = std::to_string(index);
  switch (r.Below(3)) {
    case 0:
      return std::string(r.Pick(NickHeads())) + std::string(r.Pick(NickTails())) + number;
    case 1:
      return std::string(r.Pick(LatinNickParts())) + "_" + std::string(r.Pick(LatinNickParts())) +
             number;
    default:
      return std::string(r.Pick(NickHeads())) + std::string(r.Pick(LatinNickParts())) + "_" +
             number;
  }
}

void PlaceSeller(Random& r, Seller& s) {
  if (r.Chance(3)) {
    s.state = s.city = std::string(r.Pick(Abroad()));
  } else if (r.Chance(15)) {
    s.state = std::string(r.Pick(Provinces()));
    s.city = s.state;
  } else {
    const CityState& c = r.Pick(Cities());
    s.city = std::string(c.city);
    s.state = std::string(c.state);
  }
}

// Levels skew low, as on the real marketplace: most sellers have hearts.
int SellerLevel(Random& r) {
  const int level = static_cast<int>(std::sqrt(static_cast<double>(r.Below(400)))) + 1;
  return std::min(20, std::max(1, 21 - level));
}

std::string Fold(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

int LevelForScore(long score) {
  int level = 1;
  while (level < 20 && score >= kLevelFloor[level]) ++level;
  return level;
}

long LowestScore(int level) {
  return kLevelFloor[std::clamp(level, 1, 20) - 1];
}

Catalogue Catalogue::Generate(std::uint64_t seed, std::size_t item_count) {
  Random r(seed);
  Catalogue cat;
  std::vector<MarketCategory> tops(TopCategories().begin(), TopCategories().end());
  tops.insert(tops.end(), RestrictedCategories().begin(), RestrictedCategories().end());
  long next_sub = 60000000;
  for (std::size_t t = 0; t < tops.size(); ++t) {
    cat.categories_.push_back(
        {tops[t].id, 0, std::string(tops[t].name), true, static_cast<int>(t)});
    std::vector<std::string> subs = SplitName(tops[t].name);
    if (subs.size() < 3) {
      subs.push_back(subs[0] + "配件");
      subs.push_back("其他" + subs[0]);
    }
    for (std::size_t s = 0; s < subs.size(); ++s) {
      cat.categories_.push_back({next_sub++, tops[t].id, subs[s], false, static_cast<int>(s)});
    }
  }

  const std::size_t seller_count = std::max<std::size_t>(50, item_count / 6);
  for (std::size_t i = 0; i < seller_count; ++i) {
    Seller s;
    s.nick = MakeNick(r, i);
    PlaceSeller(r, s);
    s.sex = r.Chance(50) ? "m" : "f";
    s.user_id = 10000000 + static_cast<long>(i) * 7;
    s.created = Date(r, 2003, 2008);
    s.last_visit = Date(r, 2010, 2010);
    s.seller_credit = MakeCredit(r, SellerLevel(r));
    s.buyer_credit = MakeCredit(r, static_cast<int>(r.Between(1, 6)));
    s.sid = 30000000 + static_cast<long>(i) * 3;
    s.shop_cid = tops[r.Below(TopCategories().size())].id;
    s.shop_title = s.nick + "的小店";
    s.shop_desc = "欢迎光临" + s.shop_title + "，诚信经营，品质保证。";
    s.bulletin = "新品上架，全场包邮！";
    s.shop_created = s.created;
    s.shop_modified = s.last_visit;
    cat.sellers_.push_back(std::move(s));
  }

  std::vector<const Category*> leaves;
  for (const Category& c : cat.categories_) {
    if (!c.is_parent) leaves.push_back(&c);
  }
  for (std::size_t i = 0; i < item_count; ++i) {
    const Category& leaf = *leaves[r.Below(leaves.size())];
    Item item;
    item.iid = 1000000000 + static_cast<long>(i);
    item.cid = leaf.cid;
    item.top_cid = leaf.parent_cid;
    item.seller = r.Below(cat.sellers_.size());
    const bool latin = r.Chance(35);
    item.title = std::string(r.Pick(TitlePrefixes())) + " " + std::string(r.Pick(ChineseBrands())) +
                 " " + leaf.name + (latin ? " " + std::string(r.Pick(LatinWords())) : "") + " " +
                 std::string(r.Pick(TitleSuffixes()));
    item.folded_title = Fold(item.title);
    // Prices spread over four decades: from a few yuan to several thousand.
    item.price_cents = static_cast<long>(std::pow(10.0, 2.5 + r.Below(3000) / 1000.0));
    item.commission_rate = static_cast<int>(r.Between(100, 2000));
    item.commission_num = r.Between(0, 5000);
    cat.items_.push_back(std::move(item));
  }
  cat.Index();
  return cat;
}

void Catalogue::Index() {
  for (std::size_t i = 0; i < categories_.size(); ++i) category_by_id_[categories_[i].cid] = i;
  for (std::size_t i = 0; i < sellers_.size(); ++i) {
    seller_by_nick_[sellers_[i].nick] = i;
    shop_by_sid_[sellers_[i].sid] = i;
  }
  for (std::size_t i = 0; i < items_.size(); ++i) item_by_iid_[items_[i].iid] = i;
}

std::vector<const Category*> Catalogue::Children(long parent_cid) const {
  std::vector<const Category*> out;
  for (const Category& c : categories_) {
    if (c.parent_cid == parent_cid) out.push_back(&c);
  }
  return out;
}

const Category* Catalogue::FindCategory(long cid) const {
  const auto it = category_by_id_.find(cid);
  return it == category_by_id_.end() ? nullptr : &categories_[it->second];
}

const Seller* Catalogue::FindSeller(std::string_view nick) const {
  const auto it = seller_by_nick_.find(std::string(nick));
  return it == seller_by_nick_.end() ? nullptr : &sellers_[it->second];
}

const Seller* Catalogue::FindShop(long sid) const {
  const auto it = shop_by_sid_.find(sid);
  return it == shop_by_sid_.end() ? nullptr : &sellers_[it->second];
}

const Item* Catalogue::FindItem(long iid) const {
  const auto it = item_by_iid_.find(iid);
  return it == item_by_iid_.end() ? nullptr : &items_[it->second];
}

}  // namespace orvalen::sandbox
