// Catalogue: the sandbox's generated marketplace (categories, sellers with
// their shops, items). The same seed and size always give the same
// catalogue; once generated it is read-only and safe to share between
// threads.
//
//   const Catalogue cat = Catalogue::Generate(/*seed=*/1, /*items=*/20000);
//   for (const Category* c : cat.Children(0)) ...   // top level
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvalen::sandbox {

struct Category {
  long cid = 0;
  long parent_cid = 0;
  std::string name;
  bool is_parent = false;
  int sort_order = 0;
};

struct Credit {
  int level = 0;  // 1 (one heart) to 20 (five golden crowns)
  long score = 0;
  long good_num = 0;
  long total_num = 0;
};

struct Seller {
  std::string nick;
  std::string state, city;
  std::string sex;
  long user_id = 0;
  std::string created, last_visit;
  Credit seller_credit, buyer_credit;
  long sid = 0;  // the seller's shop
  long shop_cid = 0;
  std::string shop_title, shop_desc, bulletin, shop_created, shop_modified;
};

struct Item {
  long iid = 0;
  long cid = 0;      // a second-level category
  long top_cid = 0;  // its top-level parent
  std::size_t seller = 0;
  std::string title;
  std::string folded_title;  // ASCII letters lower-cased, for matching
  long price_cents = 0;
  int commission_rate = 0;  // in hundredths of a percent: 550 is 5.50%
  long commission_num = 0;  // items sold through affiliate links
};

// Credit level (1..20) for a seller score, and the lowest score of a level.
int LevelForScore(long score);
long LowestScore(int level);

class Catalogue {
 public:
  static Catalogue Generate(std::uint64_t seed, std::size_t item_count);

  const std::vector<Category>& categories() const { return categories_; }
  const std::vector<Seller>& sellers() const { return sellers_; }
  const std::vector<Item>& items() const { return items_; }

  // Categories directly under `parent_cid` (0: the top level), in order.
  std::vector<const Category*> Children(long parent_cid) const;
  const Category* FindCategory(long cid) const;
  const Seller* FindSeller(std::string_view nick) const;
  const Seller* FindShop(long sid) const;
  const Item* FindItem(long iid) const;

 private:
  void Index();

  std::vector<Category> categories_;
  std::vector<Seller> sellers_;
  std::vector<Item> items_;
  std::unordered_map<long, std::size_t> category_by_id_, shop_by_sid_, item_by_iid_;
  std::unordered_map<std::string, std::size_t> seller_by_nick_;
};

}  // namespace orvalen::sandbox
