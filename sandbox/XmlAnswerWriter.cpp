#include "sandbox/XmlAnswerWriter.h"

namespace orvalen::sandbox {

XmlAnswerWriter::XmlAnswerWriter(bool v1, std::string root, std::string v1_root,
                                 std::string request_id)
    : v1_(v1),
      root_(v1 ? std::move(v1_root) : std::move(root)),
      request_id_(std::move(request_id)) {
  if (v1_ && !request_id_.empty()) {
    out_.OpenMarked(root_, "request_id", request_id_);
  } else {
    out_.Open(root_);
  }
}

void XmlAnswerWriter::Text(AnswerName name, std::string_view value) {
  out_.Leaf(NameOf(name), value);
}

void XmlAnswerWriter::Markup(AnswerName name, std::string_view value) {
  if (v1_) {
    out_.CData(name.v1, value);
  } else {
    out_.Leaf(name.name, value);
  }
}

void XmlAnswerWriter::Number(AnswerName name, long value) {
  out_.Leaf(NameOf(name), std::to_string(value));
}

void XmlAnswerWriter::Boolean(AnswerName name, bool value) {
  out_.Leaf(NameOf(name), value ? "true" : "false");
}

void XmlAnswerWriter::Open(AnswerName name) {
  open_.push_back(NameOf(name));
  out_.Open(open_.back());
}

void XmlAnswerWriter::Close() {
  out_.Close(open_.back());
  open_.pop_back();
}

void XmlAnswerWriter::BeginList(std::string_view name, AnswerName entry) {
  lists_.push_back({name, entry});
}

void XmlAnswerWriter::Entry() {
  List& list = lists_.back();
  if (!v1_ && !list.written) out_.OpenMarked(list.name, "list", "true");
  list.written = true;
  Open(list.entry);
}

void XmlAnswerWriter::EndList() {
  if (!v1_ && lists_.back().written) out_.Close(lists_.back().name);
  lists_.pop_back();
}

std::string XmlAnswerWriter::Finish() {
  if (!v1_ && !request_id_.empty()) out_.Leaf("request_id", request_id_);
  out_.Close(root_);
  out_.Comment("sandbox01.loopback");  // the real gateway appended a comment after its answers
  return out_.Take();
}

}  // namespace orvalen::sandbox
