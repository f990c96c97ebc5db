// JsonAnswerWriter: a gateway answer in the platform's v2.0 JSON shape,
// {"ROOT": {...}}, written by nlohmann::json. Lists are
// {"plural": {"singular": [ ... ]}} even with one entry; numbers and
// booleans keep their JSON types; text that is not valid UTF-8 is written
// with U+FFFD in place of the bad bytes.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sandbox/AnswerWriter.h"

namespace orvalen::sandbox {

class JsonAnswerWriter final : public AnswerWriter {
 public:
  // `request_id`, when not empty, ends the root object.
  JsonAnswerWriter(const std::string& root, std::string request_id = {});

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
  using Json = nlohmann::ordered_json;  // members in the order written
  std::string request_id_;
  Json& Member(AnswerName name) { return (*path_.back())[std::string(name.name)]; }

  struct List {
    Json* owner;  // the object the list belongs to; entries are looked up anew
    std::string_view name;
    std::string_view entry;
  };

  Json doc_ = Json::object();
  std::vector<Json*> path_;  // the open objects, innermost last
  std::vector<List> lists_;
};

}  // namespace orvalen::sandbox
