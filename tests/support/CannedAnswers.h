// Canned entries of the gateway's answers, shared by the tests and the
// benchmarks; an answer is "<rsp>" + entries + "</rsp>" around them.
//
//   ItemEntryXml({.iid = "7", .nick = "seller", .title = "<span class=H>MP3</span>"})
#pragma once

#include <string>

namespace orvalen::test {

struct CannedItem {
  std::string iid, nick, title, price, pic_url, click_url;
  std::string commission = "1.00", commission_num = "0", commission_rate = "500",
              commission_volume = "9.9";
};

// One <taobaokeItem>, its title inside CDATA as the gateway sends it.
inline std::string ItemEntryXml(const CannedItem& i) {
  return "<taobaokeItem><iid>" + i.iid + "</iid><nick>" + i.nick + "</nick><title><![CDATA[" +
         i.title + "]]></title><price>" + i.price + "</price><pic_url>" + i.pic_url +
         "</pic_url><click_url>" + i.click_url + "</click_url><commission>" + i.commission +
         "</commission><commission_num>" + i.commission_num + "</commission_num><commission_rate>" +
         i.commission_rate + "</commission_rate><commission_volume>" + i.commission_volume +
         "</commission_volume></taobaokeItem>";
}

inline constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

}  // namespace orvalen::test
