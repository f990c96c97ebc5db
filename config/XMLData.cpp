#include "config/XMLData.h"

#include "platform/CurlHttpClient.h"
#include "platform/XmlFieldReader.h"

namespace orvalen {
namespace {

// Configuration values used as addresses or call values lose surrounding
// blanks: a pretty-printed document often wraps them in line breaks.
void TrimBlanks(std::string& value) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = value.find_first_not_of(kBlanks);
  if (first == std::string::npos) {
    value.clear();
    return;
  }
  value.erase(value.find_last_not_of(kBlanks) + 1);
  value.erase(0, first);
}

// The leaf that holds a call's gateway address.
constexpr std::string_view kGatewayLeaf = "http";

// Reads the leaves of `group` (if the section has it) into `record`, in the
// order of `table`; a leaf holding more than text ends the reading.
template <class R, class Table>
void ReadGroup(XmlFieldReader& reader, XmlNode section, std::string_view group, R& record,
               const Table& table) {
  const std::optional<XmlNode> sub = section.Find(group);
  if (!sub) return;
  for (const auto& item : table) {
    reader.Read(sub, item.leaf, record.*item.member);
    if (!reader.ok()) return;
    if (item.leaf == kGatewayLeaf) TrimBlanks(record.*item.member);
  }
}

template <class C>
void ReadCond(XmlFieldReader& reader, XmlNode section, C& cond) {
  static constexpr std::array kLeaves = std::to_array<ElementName<C>>(
      {{"v", "", &C::v}, {"method", "", &C::method}, {"format", "", &C::format}});
  if (!section.Find("cond")) return;  // the caller's values stay as they are
  ReadGroup(reader, section, "cond", cond, kLeaves);
  if (!reader.ok()) return;
  for (std::string* value : {&cond.v, &cond.method, &cond.format}) TrimBlanks(*value);
}

void ReadCreditNames(XmlFieldReader& reader, XmlNode back, std::string_view group,
                     UserCredit& names) {
  const std::optional<XmlNode> credit = back.Find(group);
  reader.Read(credit, "lever", names.level);
  reader.Read(credit, "scord", names.score);
  reader.Read(credit, "good_num", names.good_num);
  reader.Read(credit, "total_num", names.total_num);
}

}  // namespace

TXMLData::TXMLData(std::unique_ptr<HttpTransport> http)
    : http_(http ? std::move(http) : std::make_unique<CurlHttpClient>()) {}

TXMLData::~TXMLData() = default;

bool TXMLData::LoadKeys(const std::string& url, std::string& app_key, std::string& app_secret) {
  failure_ = {};
  document_.Clear();
  const HttpResult answer = http_->Get(url);
  if (!answer.ok()) {
    failure_ = FromHttp(answer);
    return false;
  }
  if (IsWebPage(answer.content_type, answer.body)) {
    return Fail(FetchError::Kind::HtmlPage,
                "configuration: a web page came back (" + answer.content_type + ")");
  }
  if (!document_.Parse(answer.body)) {
    return Fail(FetchError::Kind::NotWellFormed,
                "configuration is not well-formed XML: " + document_.Error());
  }
  const std::optional<XmlNode> api = document_.Root()->Find("api");
  XmlFieldReader reader;
  reader.Read(api, "app_key", app_key);
  reader.Read(api, "app_sec", app_secret);
  if (!reader.ok()) return Fail(FetchError::Kind::Parse, "configuration: " + reader.error());
  TrimBlanks(app_key);
  TrimBlanks(app_secret);
  return true;
}

bool TXMLData::Fail(FetchError::Kind kind, std::string message) {
  failure_.kind = kind;
  failure_.message = std::move(message);
  return false;
}

std::optional<XmlNode> TXMLData::Section(std::string_view name) const {
  const std::optional<XmlNode> root = document_.Root();
  return root ? root->Find(name) : std::nullopt;
}

template <class Call>
void TXMLData::ReadSection(typename Call::Conditions& cond, typename Call::Entry& answer_names,
                           typename Call::Name& request_names,
                           typename Call::XML& marker_names) const {
  const std::optional<XmlNode> s = Section(Call::kSection);
  if (!s) return;
  XmlFieldReader r;
  ReadCond(r, *s, cond);
  ReadGroup(r, *s, "back", answer_names, Call::kAnswerNames);
  if constexpr (requires { answer_names.buyer_credit; }) {
    // The two credits are one level deeper: back/buyer_credit/lever and so on.
    if (const std::optional<XmlNode> back = s->Find("back")) {
      ReadCreditNames(r, *back, "buyer_credit", answer_names.buyer_credit);
      ReadCreditNames(r, *back, "seller_credit", answer_names.seller_credit);
    }
  }
  ReadGroup(r, *s, "name", request_names, Call::kNames);
  ReadGroup(r, *s, "xmlname", marker_names, Call::kMarkers);
}

// The section reader of each of the six calls.
template void TXMLData::ReadSection<TaobaokeItemCall>(TaobaokeItemConditions&, TaobaokeItemInfo&,
                                                      TaobaokeItemName&, TaobaokeItemXML&) const;
template void TXMLData::ReadSection<TaobaoUsersCall>(TaobaoUsersConditions&, TaobaoUsersInfo&,
                                                     TaobaoUsersName&, TaobaoUsersXML&) const;
template void TXMLData::ReadSection<TaobaoShopCall>(TaobaoShopConditions&, TaobaoShopInfo&,
                                                    TaobaoShopName&, TaobaoShopXML&) const;
template void TXMLData::ReadSection<TaobaokeShopCall>(TaobaokeShopConditions&, TaobaokeShopInfo&,
                                                      TaobaokeShopName&, TaobaokeShopXML&) const;
template void TXMLData::ReadSection<TaobaokeListurlCall>(TaobaokeListurlConditions&,
                                                         TaobaokeListurlInfo&, TaobaokeListurlName&,
                                                         TaobaokeListurlXML&) const;
template void TXMLData::ReadSection<TaobaoCatsCall>(TaobaoCatsConditions&, TaobaoCatsInfo&,
                                                    TaobaoCatsName&, TaobaoCatsXML&) const;

}  // namespace orvalen
