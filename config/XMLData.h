// TXMLData: the configuration document, downloaded once and then read by the
// six loaders.
//
//   TXMLData config;
//   std::string key, secret;
//   if (config.LoadKeys(url, key, secret)) {
//     config.Read(records);  // fills what the document gives for the records' call
//   }
//
// A loader writes the call values v, method and format, the answer element
// names, the parameter names (and gateway URL) and the marker names that its
// section holds; a missing section or sub-element (<cond> included) leaves
// its fields alone, a missing leaf empties its field (the component's
// default then applies). A
// leaf holding more than text ends the loader: earlier fields keep their new
// values, later ones their old values. Without a loaded document the loaders
// change nothing.
#pragma once

#include <memory>
#include <string>

#include "openapi/FetchError.h"
#include "openapi/TaobaoCats.h"
#include "openapi/TaobaoShop.h"
#include "openapi/TaobaoUsers.h"
#include "openapi/TaobaokeItem.h"
#include "openapi/TaobaokeListurl.h"
#include "openapi/TaobaokeShop.h"
#include "platform/HttpTransport.h"
#include "platform/XmlDocument.h"

namespace orvalen {

class TXMLData {
 public:
  // A null transport selects a CurlHttpClient with the standard limits.
  explicit TXMLData(std::unique_ptr<HttpTransport> http = nullptr);
  ~TXMLData();
  TXMLData(const TXMLData&) = delete;
  TXMLData& operator=(const TXMLData&) = delete;

  // Downloads and parses the document at `url`, then reads api/app_key and
  // api/app_sec. On false the arguments not yet read are unchanged.
  bool LoadKeys(const std::string& url, std::string& app_key, std::string& app_secret);
  // Ends a download in flight (from any thread) and fails every later one.
  void Abort() { http_->Abort(); }

  // The loader of any call: the call's section read into its records.
  template <class Records>
  void Read(Records& r) const {
    ReadSection<typename Records::Description>(r.cond, r.answer_names, r.request_names,
                                               r.marker_names);
  }
  // The same for one call each, the records given one by one.
  void ReadTaobaokeItem(TaobaokeItemConditions& cond, TaobaokeItemInfo& info_names,
                        TaobaokeItemName& name, TaobaokeItemXML& xml) const {
    ReadSection<TaobaokeItemCall>(cond, info_names, name, xml);
  }
  void ReadTaobaoUsers(TaobaoUsersConditions& cond, TaobaoUsersInfo& info_names,
                       TaobaoUsersName& name, TaobaoUsersXML& xml) const {
    ReadSection<TaobaoUsersCall>(cond, info_names, name, xml);
  }
  void ReadTaobaoShop(TaobaoShopConditions& cond, TaobaoShopInfo& info_names, TaobaoShopName& name,
                      TaobaoShopXML& xml) const {
    ReadSection<TaobaoShopCall>(cond, info_names, name, xml);
  }
  void ReadTaobaokeShop(TaobaokeShopConditions& cond, TaobaokeShopInfo& info_names,
                        TaobaokeShopName& name, TaobaokeShopXML& xml) const {
    ReadSection<TaobaokeShopCall>(cond, info_names, name, xml);
  }
  void ReadTaobaokeListurl(TaobaokeListurlConditions& cond, TaobaokeListurlInfo& info_names,
                           TaobaokeListurlName& name, TaobaokeListurlXML& xml) const {
    ReadSection<TaobaokeListurlCall>(cond, info_names, name, xml);
  }
  void ReadTaobaoCats(TaobaoCatsConditions& cond, TaobaoCatsInfo& info_names, TaobaoCatsName& name,
                      TaobaoCatsXML& xml) const {
    ReadSection<TaobaoCatsCall>(cond, info_names, name, xml);
  }

  // Why the last LoadKeys returned false (Kind::None after a success): the
  // download's failure, a web page or a document that is not XML, or a key
  // that is more than text.
  const FetchError& LastFailure() const { return failure_; }

 private:
  std::optional<XmlNode> Section(std::string_view name) const;
  // Defined for the six calls (kSection, kNames, kAnswerNames, kMarkers).
  template <class Call>
  void ReadSection(typename Call::Conditions& cond, typename Call::Entry& answer_names,
                   typename Call::Name& request_names, typename Call::XML& marker_names) const;

  bool Fail(FetchError::Kind kind, std::string message);

  std::unique_ptr<HttpTransport> http_;
  XmlDocument document_;
  FetchError failure_;
};

}  // namespace orvalen
