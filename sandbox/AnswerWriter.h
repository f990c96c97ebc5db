// AnswerWriter: how a gateway call writes its answer once for every dialect
// a client may ask for. A call names each value with its v2.0 name (and the
// v1.0 name where that differs); the writer picks the request's dialect:
//
//   v1.0          <rsp> holding camel-case entries, markup text in CDATA
//   v2.0 xml      <itemcats_get_response> with lists in plural wrappers
//   v2.0 json     {"itemcats_get_response": {"item_cats": {"item_cat": [...]}}}
//
//   auto w = MakeAnswerWriter(StyleOf(params), "taobao.itemcats.get");
//   w->BeginList("item_cats", "item_cat");
//   w->Entry(); w->Number("cid", 14); w->Markup("name", "…"); w->Close();
//   w->EndList();
//   std::string body = w->Finish();
//
// Between BeginList and EndList a call writes nothing but Entry() objects.
// A list without entries is left out of v2.0 answers, as the platform does.
// An answer given a request id carries it: in v2.0 as the root's last
// member "request_id", in v1.0 as the root's attribute of that name (an
// element there would read as one more entry).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sandbox/RequestCheck.h"

namespace orvalen::sandbox {

enum class AnswerStyle { V1Xml, V2Xml, V2Json };

// The dialect a request asks for with `v` and `format`. A format the
// version does not offer falls back to XML (and is refused by the gateway).
AnswerStyle StyleOf(const Params& params);
const char* ContentTypeOf(AnswerStyle style);

struct AnswerName {
  constexpr AnswerName(const char* both) : name(both), v1(both) {}  // NOLINT: names are literals
  constexpr AnswerName(const char* v2_name, const char* v1_name) : name(v2_name), v1(v1_name) {}
  std::string_view name;  // in v2.0 answers
  std::string_view v1;    // in v1.0 answers
};

class AnswerWriter {
 public:
  virtual ~AnswerWriter() = default;

  virtual void Text(AnswerName name, std::string_view value) = 0;
  // Text a v1.0 answer carries in a CDATA section (titles, nicks, names).
  virtual void Markup(AnswerName name, std::string_view value) = 0;
  virtual void Number(AnswerName name, long value) = 0;
  virtual void Boolean(AnswerName name, bool value) = 0;

  virtual void Open(AnswerName name) = 0;  // an object, ended by Close()
  virtual void Close() = 0;
  virtual void BeginList(std::string_view name, AnswerName entry) = 0;
  virtual void Entry() = 0;  // the list's next entry, an object ended by Close()
  virtual void EndList() = 0;

  virtual std::string Finish() = 0;
};

// "taobao.taobaoke.items.get" -> "taobaoke_items_get_response"
std::string ResponseName(std::string_view method);

// A writer for the answer of `method` in `style`.
std::unique_ptr<AnswerWriter> MakeAnswerWriter(AnswerStyle style, std::string_view method,
                                               std::string request_id = {});

// The gateway's refusal in `style`, with the platform's sub-code where it has one.
std::string RefusalText(AnswerStyle style, int code, std::string_view message,
                        std::string request_id = {});

}  // namespace orvalen::sandbox
