#include "sandbox/CatalogueWords.h"

#include <array>

namespace orvalen::sandbox {

std::span<const std::string_view> Provinces() {
  static constexpr std::string_view kProvinces[] = {
      "安徽", "福建", "甘肃", "广东", "广西", "贵州", "海南", "河北",   "黑龙江",
      "河南", "湖北", "湖南", "江苏", "江西", "吉林", "辽宁", "内蒙古", "宁夏",
      "青海", "山东", "山西", "陕西", "四川", "新疆", "西藏", "云南",   "浙江"};
  return kProvinces;
}

std::span<const CityState> Cities() {
  static constexpr CityState kCities[] = {
      {"北京", "北京"}, {"香港", "香港"},   {"上海", "上海"},     {"杭州", "浙江"},
      {"广州", "广东"}, {"深圳", "广东"},   {"南京", "江苏"},     {"武汉", "湖北"},
      {"天津", "天津"}, {"成都", "四川"},   {"哈尔滨", "黑龙江"}, {"重庆", "重庆"},
      {"宁波", "浙江"}, {"无锡", "江苏"},   {"济南", "山东"},     {"苏州", "江苏"},
      {"温州", "浙江"}, {"青岛", "山东"},   {"沈阳", "辽宁"},     {"福州", "福建"},
      {"西安", "陕西"}, {"长沙", "湖南"},   {"合肥", "安徽"},     {"南宁", "广西"},
      {"南昌", "江西"}, {"郑州", "河南"},   {"厦门", "福建"},     {"大连", "辽宁"},
      {"常州", "江苏"}, {"石家庄", "河北"}, {"东莞", "广东"},     {"中山", "广东"},
      {"珠海", "广东"}, {"佛山", "广东"},   {"惠州", "广东"},     {"澳门", "澳门"},
      {"台湾", "台湾"}, {"昆明", "云南"},   {"贵阳", "贵州"},     {"兰州", "甘肃"},
      {"海口", "海南"}, {"太原", "山西"},   {"长春", "吉林"},     {"呼和浩特", "内蒙古"},
      {"银川", "宁夏"}, {"西宁", "青海"},   {"乌鲁木齐", "新疆"}, {"拉萨", "西藏"},
  };
  return kCities;
}

std::span<const std::string_view> Abroad() {
  static constexpr std::string_view kAbroad[] = {"美国", "英国", "法国", "日本",
                                                 "韩国", "德国", "澳洲", "加拿大"};
  return kAbroad;
}

std::span<const std::string_view> ChineseBrands() {
  static constexpr std::string_view kBrands[] = {
      "诺基亚", "三星",     "索尼", "佳能",   "联想",   "华硕",  "爱国者",
      "飞利浦", "海尔",     "美的", "李宁",   "安踏",   "百丽",  "七匹狼",
      "欧莱雅", "雅诗兰黛", "九阳", "苏泊尔", "小天鹅", "步步高"};
  return kBrands;
}

std::span<const std::string_view> LatinWords() {
  static constexpr std::string_view kWords[] = {
      "MP3", "MP4",  "N97", "iPod",  "USB",  "LED",    "HD",    "GPS",  "Pro",   "Mini",
      "E63", "5800", "DIY", "ZIPPO", "Nike", "Adidas", "Canon", "Sony", "Apple", "X6"};
  return kWords;
}

std::span<const std::string_view> TitlePrefixes() {
  static constexpr std::string_view kPrefixes[] = {"2010新款", "正品", "特价",   "热卖", "皇冠信誉",
                                                   "原装",     "韩版", "欧美风", "限量", "秒杀"};
  return kPrefixes;
}

std::span<const std::string_view> TitleSuffixes() {
  static constexpr std::string_view kSuffixes[] = {
      "包邮", "正品行货", "全国联保", "假一赔十", "送礼品", "顺丰包邮", "现货", "七天无理由退换"};
  return kSuffixes;
}

std::span<const std::string_view> NickHeads() {
  static constexpr std::string_view kHeads[] = {
      "小龙女", "淘气", "阳光", "快乐", "数码", "美丽", "时尚", "潮流", "宝贝", "开心",
      "星星",   "小猪", "天使", "老王", "金牌", "蓝色", "红红", "可爱", "乐乐", "丫丫"};
  return kHeads;
}

std::span<const std::string_view> NickTails() {
  static constexpr std::string_view kTails[] = {"的店",   "小铺",   "商城",   "专卖",   "精品屋",
                                                "旗舰店", "杂货铺", "工作室", "数码港", "衣橱"};
  return kTails;
}

std::span<const std::string_view> LatinNickParts() {
  static constexpr std::string_view kParts[] = {
      "happy", "Shop", "star",    "Sunny", "baby", "Cool", "digital", "Mall",
      "lucky", "Top",  "fashion", "King",  "cute", "Best", "love",    "Zone"};
  return kParts;
}

}  // namespace orvalen::sandbox
