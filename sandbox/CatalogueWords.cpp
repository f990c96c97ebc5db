#include "sandbox/CatalogueWords.h"

#include <array>

namespace orvalen::sandbox {

std::span<const NamedId> TopCategories() {
  static constexpr NamedId kTop[] = {
      {"数码相机/摄像机/摄影器材", 14},
      {"3C数码配件市场", 50008090},
      {"闪存卡/U盘/移动存储", 50012164},
      {"办公设备/文具/耗材", 50007218},
      {"居家日用/厨房餐饮/卫浴洗浴", 21},
      {"家纺/床品/地毯/布艺", 50008163},
      {"时尚家饰/工艺品/十字绣", 2128},
      {"奶粉/辅食/营养品", 35},
      {"尿片/洗护/喂哺等用品", 50014812},
      {"益智玩具/早教/童车床/出行", 50005998},
      {"童装/童鞋/孕妇装", 50008165},
      {"食品/茶叶/零食/特产", 50002766},
      {"保健食品", 50012472},
      {"MP3/MP4/iPod/录音笔", 1201},
      {"手机", 1512},
      {"国货精品手机", 50012081},
      {"个人护理/保健/按摩器材", 50002768},
      {"电脑硬件/台式整机/网络设备", 11},
      {"笔记本电脑", 1101},
      {"运动/瑜伽/健身/球迷用品", 50010728},
      {"户外/登山/野营/旅行用品", 50013886},
      {"运动服/运动包/颈环配件", 50011699},
      {"运动鞋", 50010388},
      {"电玩/配件/游戏/攻略", 20},
      {"玩具/模型/娃娃/人偶", 25},
      {"古董/邮币/字画/收藏", 23},
      {"家具/家具定制/宜家代购", 50008164},
      {"鲜花速递/蛋糕配送/园艺花艺", 50007216},
      {"汽车/配件/改装/摩托/自行车", 26},
      {"装潢/灯具/五金/安防/卫浴", 27},
      {"品牌手表/流行手表", 50005700},
      {"彩妆/香水/美发/工具", 50010788},
      {"流行男鞋", 50011740},
      {"女装/女士精品", 16},
      {"音乐/影视/明星/乐器", 34},
      {"女鞋", 50006843},
      {"男装", 30},
      {"女士内衣/男士内衣/家居服", 1625},
      {"服饰配件/皮带/帽子/围巾", 50010404},
      {"珠宝/钻石/翡翠/黄金", 50011397},
      {"ZIPPO/瑞士军刀/眼镜", 28},
      {"书籍/杂志/报纸", 33},
      {"宠物/宠物食品及用品", 29},
      {"成人用品/避孕用品/情趣内衣", 2813},
      {"其它", 50011150},
      {"旅游度假/打折机票/特惠酒店", 50011949},
      {"影音电器", 50011972},
      {"美容护肤/美体/精油", 1801},
      {"箱包皮具/热销女包/男包", 50006842},
      {"厨房电器", 50012082},
      {"生活电器", 50012100},
      {"演出/旅游/吃喝玩乐折扣券", 50008075},
      {"饰品/流行首饰/时尚饰品新", 50013864},
      {"网店/网络服务/个性定制/软件", 50014811},
  };
  return kTop;
}

std::span<const NamedId> ExcludedTopCategories() {
  static constexpr NamedId kExcluded[] = {
      {"腾讯QQ专区", 40},
      {"网游装备/游戏币/帐号/代练", 50011665},
      {"IP卡/网络电话/手机号码", 50008907},
      {"网络游戏点卡", 99},
      {"移动/联通/小灵通充值中心", 50004958},
      {"世博会特许商品", 50017300},
  };
  return kExcluded;
}

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
