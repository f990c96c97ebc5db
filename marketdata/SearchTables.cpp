#include "marketdata/SearchTables.h"

namespace orvalen {

std::span<const SortChoice> SortChoices() {
  static constexpr SortChoice kSorts[] = {
      {"默认排序", "commissionNum_desc"},       {"按价格从高到低", "price_desc"},
      {"按价格从低到高 ", "price_asc"},         {"按信用从高到低", "credit_desc"},
      {"成交量成高到低", "commissionNum_desc"}, {"成交量从低到高", "commissionNum_asc"}};
  return kSorts;
}

std::span<const std::string_view> AreaItems() {
  static constexpr std::string_view kAreas[] = {
      "所有地区", "江浙沪", "珠三角", "港澳台", "海外", "北京", "香港",   "上海",   "杭州",
      "广州",     "深圳",   "南京",   "武汉",   "天津", "成都", "哈尔滨", "重庆",   "宁波",
      "无锡",     "济南",   "苏州",   "温州",   "青岛", "沈阳", "福州",   "西安",   "长沙",
      "合肥",     "南宁",   "南昌",   "郑州",   "厦门", "大连", "常州",   "石家庄", "东莞",
      "安徽",     "福建",   "甘肃",   "广东",   "广西", "贵州", "海南",   "河北",   "黑龙江",
      "河南",     "湖北",   "湖南",   "江苏",   "江西", "吉林", "辽宁",   "内蒙古", "宁夏",
      "青海",     "山东",   "山西",   "陕西",   "四川", "新疆", "西藏",   "云南",   "浙江"};
  return kAreas;
}

std::string_view AreaValue(int index) {
  static constexpr std::string_view kGroups[] = {
      "", "江苏,浙江,上海", "广州,深圳,中山,珠海,佛山,东莞,惠州", "香港,澳门,台湾",
      "美国,英国,法国,瑞士,澳洲,新西兰,加拿大,奥地利,韩国,日本,德国,意大利,西班牙,俄罗斯,泰国,"
      "印度,荷兰,新加坡,其它国家"};
  if (index < 0 || index >= static_cast<int>(AreaItems().size())) return "";
  return index <= 4 ? kGroups[index] : AreaItems()[index];
}

}  // namespace orvalen
