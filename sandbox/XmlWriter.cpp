#include "sandbox/XmlWriter.h"

#include "platform/MarkupEscape.h"

namespace orvalen::sandbox {

XmlWriter::XmlWriter() {
  out_.reserve(4096);
  out_ = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>";
}

XmlWriter& XmlWriter::Open(std::string_view name) {
  out_.append("<").append(name).append(">");
  return *this;
}

XmlWriter& XmlWriter::OpenMarked(std::string_view name, std::string_view attribute,
                                 std::string_view value) {
  out_.append("<").append(name).append(" ").append(attribute).append("=\"");
  AppendEscapedMarkup(out_, value);
  out_.append("\">");
  return *this;
}

XmlWriter& XmlWriter::Close(std::string_view name) {
  out_.append("</").append(name).append(">");
  return *this;
}

XmlWriter& XmlWriter::Leaf(std::string_view name, std::string_view text) {
  Open(name);
  AppendEscapedMarkup(out_, text);
  return Close(name);
}

XmlWriter& XmlWriter::CData(std::string_view name, std::string_view text) {
  // A parser reads a CR inside CDATA as a line feed: such text goes escaped.
  if (text.find('\r') != std::string_view::npos) return Leaf(name, text);
  Open(name);
  out_.append("<![CDATA[");
  // "]]>" cannot stand inside a CDATA section: split it across two sections.
  std::size_t pos = 0;
  for (std::size_t end = text.find("]]>"); end != std::string_view::npos;
       end = text.find("]]>", pos)) {
    out_.append(text.substr(pos, end + 2 - pos)).append("]]><![CDATA[");
    pos = end + 2;
  }
  out_.append(text.substr(pos)).append("]]>");
  return Close(name);
}

XmlWriter& XmlWriter::Comment(std::string_view text) {
  out_.append("<!--").append(text).append("-->");
  return *this;
}

}  // namespace orvalen::sandbox
