// XmlDocument: a parsed XML document held in memory (libxml2 underneath).
//
//   XmlDocument doc;
//   if (doc.Parse(bytes)) {                      // decodes by the declaration
//     XmlNode root = *doc.Root();
//     auto total = root.Find("totalResults");    // first child element of that name
//     std::optional<std::string> text = total->Text();
//   }
//
// Parsing never touches the network, loads no DTD and expands no entities.
// Whitespace-only text between elements is dropped, so child counts and
// indices see elements, comments and real text only. Texts come out as UTF-8.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace orvalen {

// A non-owning view of one node; valid while its document is neither parsed
// again nor destroyed.
class XmlNode {
 public:
  explicit XmlNode(_xmlNode* node) : node_(node) {}

  bool IsElement() const;
  std::string_view Name() const;  // element name; empty for other kinds of node

  std::size_t ChildCount() const;
  std::vector<XmlNode> Children(std::size_t limit = static_cast<std::size_t>(-1)) const;
  std::optional<XmlNode> Child(std::size_t index) const;
  std::optional<XmlNode> Find(std::string_view element_name) const;

  // "" without children; the value of a sole text or CDATA child; nullopt for
  // anything else (child elements, several pieces, entity references).
  std::optional<std::string> Text() const;
  // The value of an element's attribute, nullopt when it has none of that name.
  std::optional<std::string> Attribute(std::string_view name) const;

 private:
  _xmlNode* node_;
};

// libxml2's global set-up. Programs call it once at start, before any thread
// parses; it is safe to call again from any thread (later calls do nothing),
// and every XmlDocument makes sure of it too.
void InitialiseXmlLibrary();

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the current tree. On failure the document is left empty and
  // Error() says why.
  bool Parse(std::string_view bytes);
  void Clear();

  std::optional<XmlNode> Root() const;
  const std::string& Error() const { return error_; }

 private:
  struct Free {
    void operator()(_xmlDoc* doc) const;
  };
  std::unique_ptr<_xmlDoc, Free> doc_;
  std::string error_;
};

}  // namespace orvalen
