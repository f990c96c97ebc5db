#include "platform/XmlFieldReader.h"

namespace orvalen {

void XmlFieldReader::Read(std::optional<XmlNode> parent, std::string_view name,
                          std::string& target) {
  if (!ok()) return;
  const std::optional<XmlNode> element = parent ? parent->Find(name) : std::nullopt;
  if (!element) {
    target.clear();
    return;
  }
  if (std::optional<std::string> text = element->Text()) {
    target = std::move(*text);
  } else {
    error_ = "element <" + std::string(name) + "> holds more than plain text";
  }
}

}  // namespace orvalen
