// XmlFieldReader: copies element texts into string fields and stops at the
// first element that holds more than plain text.
//
//   XmlFieldReader r;
//   r.Read(item, "title", entry.title);   // missing element -> ""
//   r.Read(item, "price", entry.price);   // skipped once a read has failed
//   if (!r.ok()) ... r.error() ...
//
// Once a read has failed, later reads leave their targets untouched, so the
// fields before the failure hold their new values and the rest their old ones.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/XmlDocument.h"

namespace orvalen {

class XmlFieldReader {
 public:
  // target := text of the first child element of parent named `name`; an
  // absent parent or child reads as "".
  void Read(std::optional<XmlNode> parent, std::string_view name, std::string& target);

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
};

}  // namespace orvalen
