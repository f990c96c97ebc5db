#include "platform/XmlDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <mutex>

namespace orvalen {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

std::string_view View(const xmlChar* s) {
  return s == nullptr ? std::string_view() : reinterpret_cast<const char*>(s);
}

bool IsBlankText(const xmlNode* n) {
  if (n->type != XML_TEXT_NODE) return false;
  for (const xmlChar* p = n->content; p != nullptr && *p != 0; ++p) {
    if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') return false;
  }
  return true;
}

// Removes whitespace-only text that stands beside other nodes; a blank text
// that is an element's only content stays. Iterative, so depth costs no stack.
void DropBlankText(xmlNode* root) {
  std::vector<xmlNode*> pending{root};
  while (!pending.empty()) {
    xmlNode* parent = pending.back();
    pending.pop_back();
    const bool several = parent->children != nullptr && parent->children->next != nullptr;
    for (xmlNode* c = parent->children; c != nullptr;) {
      xmlNode* next = c->next;
      if (several && IsBlankText(c)) {
        xmlUnlinkNode(c);
        xmlFreeNode(c);
      } else if (c->type == XML_ELEMENT_NODE) {
        pending.push_back(c);
      }
      c = next;
    }
  }
}

struct CtxtFree {
  void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};

}  // namespace

bool XmlNode::IsElement() const {
  return node_->type == XML_ELEMENT_NODE;
}

std::string_view XmlNode::Name() const {
  return IsElement() ? View(node_->name) : "";
}

std::size_t XmlNode::ChildCount() const {
  std::size_t n = 0;
  for (const xmlNode* c = node_->children; c != nullptr; c = c->next) ++n;
  return n;
}

std::vector<XmlNode> XmlNode::Children(std::size_t limit) const {
  std::vector<XmlNode> out;
  for (xmlNode* c = node_->children; c != nullptr && out.size() < limit; c = c->next) {
    out.emplace_back(c);
  }
  return out;
}

std::optional<XmlNode> XmlNode::Child(std::size_t index) const {
  xmlNode* c = node_->children;
  for (; c != nullptr && index > 0; --index) c = c->next;
  if (c == nullptr) return std::nullopt;
  return XmlNode(c);
}

std::optional<XmlNode> XmlNode::Find(std::string_view element_name) const {
  if (!IsElement()) return std::nullopt;
  for (xmlNode* c = node_->children; c != nullptr; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && View(c->name) == element_name) return XmlNode(c);
  }
  return std::nullopt;
}

std::optional<std::string> XmlNode::Text() const {
  const xmlNode* c = node_->children;
  if (c == nullptr) return std::string();
  if (c->next != nullptr) return std::nullopt;
  if (c->type != XML_TEXT_NODE && c->type != XML_CDATA_SECTION_NODE) return std::nullopt;
  return std::string(View(c->content));
}

std::optional<std::string> XmlNode::Attribute(std::string_view name) const {
  if (node_->type != XML_ELEMENT_NODE) return std::nullopt;
  for (const xmlAttr* a = node_->properties; a != nullptr; a = a->next) {
    if (View(a->name) != name) continue;
    const xmlNode* text = a->children;
    return text != nullptr && text->type == XML_TEXT_NODE ? std::string(View(text->content))
                                                          : std::string();
  }
  return std::nullopt;
}

void InitialiseXmlLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

XmlDocument::XmlDocument() {
  InitialiseXmlLibrary();
}
XmlDocument::~XmlDocument() = default;

void XmlDocument::Free::operator()(_xmlDoc* doc) const {
  xmlFreeDoc(doc);
}

void XmlDocument::Clear() {
  doc_.reset();
  error_.clear();
}

bool XmlDocument::Parse(std::string_view bytes) {
  Clear();
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    error_ = "document too large";
    return false;
  }
  std::unique_ptr<xmlParserCtxt, CtxtFree> ctxt(xmlNewParserCtxt());
  if (!ctxt) {
    error_ = "out of memory";
    return false;
  }
  doc_.reset(xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
                               nullptr, kParseOptions));
  if (!doc_ || !ctxt->wellFormed || xmlDocGetRootElement(doc_.get()) == nullptr) {
    const xmlError* e = xmlCtxtGetLastError(ctxt.get());
    error_ = e != nullptr && e->message != nullptr ? e->message : "no document element";
    while (!error_.empty() && (error_.back() == '\n' || error_.back() == ' ')) error_.pop_back();
    doc_.reset();
    return false;
  }
  DropBlankText(xmlDocGetRootElement(doc_.get()));
  return true;
}

std::optional<XmlNode> XmlDocument::Root() const {
  if (!doc_) return std::nullopt;
  return XmlNode(xmlDocGetRootElement(doc_.get()));
}

}  // namespace orvalen
