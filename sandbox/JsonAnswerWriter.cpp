#include "sandbox/JsonAnswerWriter.h"

namespace orvalen::sandbox {

JsonAnswerWriter::JsonAnswerWriter(const std::string& root, std::string request_id)
    : request_id_(std::move(request_id)) {
  path_.push_back(&(doc_[root] = Json::object()));
}

void JsonAnswerWriter::Text(AnswerName name, std::string_view value) {
  Member(name) = std::string(value);
}

void JsonAnswerWriter::Markup(AnswerName name, std::string_view value) {
  Text(name, value);
}

void JsonAnswerWriter::Number(AnswerName name, long value) {
  Member(name) = value;
}

void JsonAnswerWriter::Boolean(AnswerName name, bool value) {
  Member(name) = value;
}

void JsonAnswerWriter::Open(AnswerName name) {
  path_.push_back(&(Member(name) = Json::object()));
}

void JsonAnswerWriter::Close() {
  path_.pop_back();
}

void JsonAnswerWriter::BeginList(std::string_view name, AnswerName entry) {
  lists_.push_back({path_.back(), name, entry.name});
}

void JsonAnswerWriter::Entry() {
  const List& list = lists_.back();
  // Looked up on every entry: the owner's members may have moved since.
  Json& entries = (*list.owner)[std::string(list.name)][std::string(list.entry)];
  if (entries.is_null()) entries = Json::array();
  entries.push_back(Json::object());
  path_.push_back(&entries.back());
}

void JsonAnswerWriter::EndList() {
  lists_.pop_back();
}

std::string JsonAnswerWriter::Finish() {
  if (!request_id_.empty()) (*path_.front())["request_id"] = request_id_;
  return doc_.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace orvalen::sandbox
