// XmlAnswerWriter: a gateway answer as XML, in the v1.0 shape (root <rsp>,
// v1.0 names, list entries straight under their parent, markup in CDATA) or
// the v2.0 shape (root named after the call, lists in plural wrappers marked
// list="true", all text escaped). Both end with the gateway's comment.
#pragma once

#include <string>
#include <vector>

#include "sandbox/AnswerWriter.h"
#include "sandbox/XmlWriter.h"

namespace orvalen::sandbox {

class XmlAnswerWriter final : public AnswerWriter {
 public:
  // `root` names the v2.0 root; a v1.0 answer's root is `v1_root`. A
  // `request_id` that is not empty is the v1.0 root's attribute, or the
  // v2.0 root's last element.
  XmlAnswerWriter(bool v1, std::string root, std::string v1_root = "rsp",
                  std::string request_id = {});

  void Text(AnswerName name, std::string_view value) override;
  void Markup(AnswerName name, std::string_view value) override;
  void Number(AnswerName name, long value) override;
  void Boolean(AnswerName name, bool value) override;
  void Open(AnswerName name) override;
  void Close() override;
  void BeginList(std::string_view name, AnswerName entry) override;
  void Entry() override;
  void EndList() override;
  std::string Finish() override;

 private:
  std::string_view NameOf(AnswerName name) const { return v1_ ? name.v1 : name.name; }

  struct List {
    std::string_view name;
    AnswerName entry;
    bool written = false;  // the wrapper is written with the first entry
  };

  bool v1_;
  std::string root_;
  std::string request_id_;
  XmlWriter out_;
  std::vector<std::string_view> open_;
  std::vector<List> lists_;
};

}  // namespace orvalen::sandbox
