#include "sandbox/AnswerWriter.h"

#include "sandbox/JsonAnswerWriter.h"
#include "sandbox/XmlAnswerWriter.h"

namespace orvalen::sandbox {
namespace {

// Sub-codes the platform gives with its argument refusals; its other
// system-level refusals carry a code and a message only.
struct SubError {
  int code;
  const char* sub_code;
  const char* sub_msg_prefix;
};
constexpr SubError kSubErrors[] = {
    {22, "isv.method-not-exist", "不存在的方法名"},
    {40, "isv.missing-parameter", "缺少必选参数"},
    {41, "isv.invalid-parameter", "非法的参数"},
};

std::unique_ptr<AnswerWriter> MakeWriter(AnswerStyle style, std::string root, std::string v1_root,
                                         std::string request_id) {
  if (style == AnswerStyle::V2Json) {
    return std::make_unique<JsonAnswerWriter>(root, std::move(request_id));
  }
  return std::make_unique<XmlAnswerWriter>(style == AnswerStyle::V1Xml, std::move(root),
                                           std::move(v1_root), std::move(request_id));
}

}  // namespace

AnswerStyle StyleOf(const Params& params) {
  if (Param(params, "v") != "2.0") return AnswerStyle::V1Xml;
  return Param(params, "format") == "json" ? AnswerStyle::V2Json : AnswerStyle::V2Xml;
}

const char* ContentTypeOf(AnswerStyle style) {
  return style == AnswerStyle::V2Json ? "application/json; charset=utf-8"
                                      : "text/xml; charset=utf-8";
}

std::string ResponseName(std::string_view method) {
  constexpr std::string_view kPrefix = "taobao.";
  if (method.starts_with(kPrefix)) method.remove_prefix(kPrefix.size());
  std::string name(method);
  for (char& c : name) {
    if (c == '.') c = '_';
  }
  return name + "_response";
}

std::unique_ptr<AnswerWriter> MakeAnswerWriter(AnswerStyle style, std::string_view method,
                                               std::string request_id) {
  return MakeWriter(style, ResponseName(method), "rsp", std::move(request_id));
}

std::string RefusalText(AnswerStyle style, int code, std::string_view message,
                        std::string request_id) {
  const std::unique_ptr<AnswerWriter> w =
      MakeWriter(style, "error_response", "error_rsp", std::move(request_id));
  w->Number("code", code);
  w->Text("msg", message);
  if (style == AnswerStyle::V1Xml) return w->Finish();
  for (const SubError& sub : kSubErrors) {
    if (sub.code != code) continue;
    const std::size_t colon = message.find(':');
    const std::string_view argument =
        colon == std::string_view::npos ? std::string_view() : message.substr(colon + 1);
    w->Text("sub_code", sub.sub_code);
    w->Text("sub_msg", std::string(sub.sub_msg_prefix) + ":" + std::string(argument));
  }
  return w->Finish();
}

}  // namespace orvalen::sandbox
