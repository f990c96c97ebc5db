// LinkShapes: the sandbox's click URLs rewritten into the shapes a real
// platform's links take, for the "shapes" fault. Entry i of an answer gets
// shape i modulo kLinkShapes; every shape still names the affiliate member.
//
//   ShapeLink("http://127.0.0.1:8970/click?iid=7&nick=peldrun&e=x", 5)
//   ShapeClickUrls(xml_answer)   // every <click_url> of the answer shaped
//
// The shapes: no path; the default port written out; capitals in the scheme
// and host; dot segments; backslashes; percent escapes (an escaped '='
// among them); a blank in the query; raw non-ASCII in the query; raw
// |{}^ in the query; a long https address; a short one on another host.
#pragma once

#include <cstddef>
#include <string>

namespace orvalen::sandbox {

inline constexpr std::size_t kLinkShapes = 11;

// `url` is "http://HOST:PORT/PATH?QUERY".
std::string ShapeLink(const std::string& url, std::size_t shape);

// Each <click_url> element's text in an XML answer, shaped in turn.
std::string ShapeClickUrls(const std::string& xml);

}  // namespace orvalen::sandbox
