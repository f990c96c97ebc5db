// XmlWriter: builds the gateway's answers as UTF-8 XML text.
//
//   XmlWriter w;                       // starts with the XML declaration
//   w.Open("rsp").Leaf("totalResults", "3").CData("title", "<b>x</b>").Close("rsp");
//   std::string text = w.Take();
#pragma once

#include <string>
#include <string_view>

namespace orvalen::sandbox {

class XmlWriter {
 public:
  XmlWriter();

  XmlWriter& Open(std::string_view name);
  // An opening tag with one attribute, its value escaped.
  XmlWriter& OpenMarked(std::string_view name, std::string_view attribute, std::string_view value);
  XmlWriter& Close(std::string_view name);
  XmlWriter& Leaf(std::string_view name, std::string_view text);  // text escaped
  // Text in CDATA, or escaped when it holds a carriage return.
  XmlWriter& CData(std::string_view name, std::string_view text);
  XmlWriter& Comment(std::string_view text);

  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace orvalen::sandbox
