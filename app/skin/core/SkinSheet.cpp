#include "app/skin/core/SkinSheet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <optional>

namespace orvalen {
namespace {

namespace fs = std::filesystem;

struct Declaration {
  int line;
  std::string name, value;
};

struct Rule {
  int line;
  std::string selectors;
  std::vector<Declaration> declarations;
};

std::string Trim(std::string_view text) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

int LineAt(std::string_view text, std::size_t pos) {
  return 1 +
         static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(pos), '\n'));
}

// The text with each comment replaced by blanks (line feeds kept), or an
// error for a comment or string without its end.
std::optional<std::string> WithoutComments(std::string_view text, std::string& error) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '"' || out[i] == '\'') {
      const std::size_t end = out.find_first_of(std::string(1, out[i]) + "\n", i + 1);
      if (end == std::string::npos || out[end] == '\n') {
        error = "line " + std::to_string(LineAt(text, i)) + ": a string without its end";
        return std::nullopt;
      }
      i = end;
    } else if (out.compare(i, 2, "/*") == 0) {
      const std::size_t end = out.find("*/", i + 2);
      if (end == std::string::npos) {
        error = "line " + std::to_string(LineAt(text, i)) + ": a comment without its end";
        return std::nullopt;
      }
      for (std::size_t j = i; j < end + 2; ++j) {
        if (out[j] != '\n') out[j] = ' ';
      }
      i = end + 1;
    }
  }
  return out;
}

// Splits a rule's body at the semicolons outside strings and parentheses.
std::vector<std::pair<std::size_t, std::string>> SplitBody(std::string_view body,
                                                           std::size_t offset) {
  std::vector<std::pair<std::size_t, std::string>> parts;
  int depth = 0;
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= body.size(); ++i) {
    const char c = i < body.size() ? body[i] : ';';
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ';' && depth <= 0) {
      parts.emplace_back(offset + start, std::string(body.substr(start, i - start)));
      start = i + 1;
    }
  }
  return parts;
}

bool IsPropertyName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) != 0 || c == '-';
  });
}

bool ReadRules(std::string_view text, std::vector<Rule>& rules, std::string& error) {
  std::size_t pos = 0;
  const auto fail = [&](std::size_t at, const std::string& what) {
    error = "line " + std::to_string(LineAt(text, at)) + ": " + what;
    return false;
  };
  while (true) {
    pos = text.find_first_not_of(" \t\r\n", pos);
    if (pos == std::string_view::npos) return true;
    const std::size_t open = text.find_first_of("{};", pos);
    if (open == std::string_view::npos) return fail(pos, "a selector without its rule");
    if (text[open] != '{') return fail(open, std::string("'") + text[open] + "' outside a rule");
    Rule rule{LineAt(text, pos), Trim(text.substr(pos, open - pos)), {}};
    if (rule.selectors.empty()) return fail(open, "a rule without a selector");
    const std::size_t close = text.find_first_of("{}", open + 1);
    if (close == std::string_view::npos) return fail(open, "a rule without its '}'");
    if (text[close] == '{') return fail(close, "'{' inside a rule");
    for (const auto& [at, part] : SplitBody(text.substr(open + 1, close - open - 1), open + 1)) {
      const std::string declaration = Trim(part);
      if (declaration.empty()) continue;
      const std::size_t colon = declaration.find(':');
      const std::string name = colon == std::string::npos ? "" : Trim(declaration.substr(0, colon));
      if (!IsPropertyName(name)) return fail(at, "'" + declaration + "' is not a declaration");
      rule.declarations.push_back({LineAt(text, at + part.find_first_not_of(" \t\r\n")),
                                   Lower(name), Trim(declaration.substr(colon + 1))});
    }
    rules.push_back(std::move(rule));
    pos = close + 1;
  }
}

// Properties that change how a control looks, not its size or content.
bool LooksOnly(const std::string& name) {
  static constexpr std::array<std::string_view, 6> kPrefixes = {
      "background", "border", "outline", "padding", "margin", "subcontrol-"};
  static constexpr std::array<std::string_view, 14> kNames = {
      "color",           "alternate-background-color",
      "selection-color", "selection-background-color",
      "gridline-color",  "font-weight",
      "font-style",      "text-decoration",
      "text-align",      "image",
      "image-position",  "spacing",
      "opacity",         "show-decoration-selected"};
  return std::any_of(kPrefixes.begin(), kPrefixes.end(),
                     [&](std::string_view p) { return name.starts_with(p); }) ||
         std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

// Sizes and places that only sub-controls (arrows, handles, indicators) may take.
bool SubControlGeometry(const std::string& name) {
  static constexpr std::array<std::string_view, 11> kNames = {
      "width",    "height", "min-width", "max-width", "min-height", "max-height",
      "position", "top",    "left",      "right",     "bottom"};
  return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

// Every selector of the rule names a sub-control.
bool OnlySubControls(const std::string& selectors) {
  std::size_t start = 0;
  while (start <= selectors.size()) {
    const std::size_t comma = std::min(selectors.find(',', start), selectors.size());
    if (selectors.substr(start, comma - start).find("::") == std::string::npos) return false;
    start = comma + 1;
  }
  return true;
}

class UrlCheck {
 public:
  explicit UrlCheck(const std::string& folder)
      : resource_(folder.starts_with(":")), folder_(Normal(folder)) {}

  // The address as the window should read it, or nullopt when it is out of bounds.
  std::optional<std::string> Resolve(std::string address) const {
    if (address.starts_with("qrc:")) address.erase(0, 3);
    if (address.starts_with(":/")) return fs::path(address).lexically_normal().string();
    if (address.find(':') != std::string::npos) return std::nullopt;  // a scheme or a drive
    const fs::path joined = fs::path(folder_) / address;
    if (resource_) {
      const std::string path = joined.lexically_normal().string();
      return path.starts_with(folder_ + "/") ? std::optional(path) : std::nullopt;
    }
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(joined, ec);
    if (ec) return std::nullopt;
    const std::string path = real.string();
    return path.starts_with(folder_ + "/") ? std::optional(path) : std::nullopt;
  }

 private:
  static std::string Normal(const std::string& folder) {
    if (folder.starts_with(":")) {
      std::string path = fs::path(folder).lexically_normal().string();
      while (path.size() > 2 && path.back() == '/') path.pop_back();
      return path;
    }
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(folder, ec);
    return ec ? folder : real.string();
  }

  bool resource_;
  std::string folder_;
};

// The value with every url(...) resolved, or the reason it may not be used.
std::optional<std::string> ResolveUrls(const std::string& value, const UrlCheck& urls,
                                       std::string& reason) {
  std::string out;
  std::size_t pos = 0;
  const std::string lower = Lower(value);
  for (std::size_t at; (at = lower.find("url(", pos)) != std::string::npos;) {
    const std::size_t close = value.find(')', at);
    if (close == std::string::npos) {
      reason = "a url( without its ')'";
      return std::nullopt;
    }
    std::string address = Trim(std::string_view(value).substr(at + 4, close - at - 4));
    if (address.size() >= 2 && (address.front() == '"' || address.front() == '\'') &&
        address.back() == address.front()) {
      address = address.substr(1, address.size() - 2);
    }
    const std::optional<std::string> resolved = urls.Resolve(address);
    if (!resolved) {
      reason = "'" + address + "' is outside the skin's folder and the program";
      return std::nullopt;
    }
    out += value.substr(pos, at - pos) + "url(\"" + *resolved + "\")";
    pos = close + 1;
  }
  return out + value.substr(pos);
}

// A colour and nothing else: no url, no expression, nothing to hide with.
bool IsColour(const std::string& value) {
  const std::string v = Lower(value);
  if (v.starts_with("#")) {
    return (v.size() == 4 || v.size() == 7) &&
           v.find_first_not_of("0123456789abcdef", 1) == std::string::npos;
  }
  if (v.starts_with("rgb(") && v.ends_with(")")) {
    return v.find_first_not_of("0123456789, ", 4) == v.size() - 1 &&
           std::count(v.begin(), v.end(), ',') == 2;
  }
  return !v.empty() && v != "transparent" &&
         std::all_of(v.begin(), v.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

// The page's CSS for one ResultsPage declaration; empty for a name it does not take.
std::string PageRule(const std::string& name, const std::string& colour) {
  if (name == "color") return "body { color: " + colour + "; }\n";
  if (name == "background-color") return "body { background-color: " + colour + "; }\n";
  if (name == "border-color") return "a img { border-color: " + colour + "; }\n";
  if (name == "link-color") return "a { color: " + colour + "; }\n";
  if (name == "link-hover-color") return "a:hover, a:focus { color: " + colour + "; }\n";
  if (name == "price-color") return ".yuan { color: " + colour + "; }\n";
  return "";
}

void CheckPageRule(const Rule& rule, SkinSheetResult& result) {
  for (const Declaration& d : rule.declarations) {
    const std::string where = "line " + std::to_string(d.line) + ": " + d.name + ": " + d.value;
    const std::string css = PageRule(d.name, d.value);
    if (css.empty()) {
      result.ignored.push_back(where + ": the results page takes no " + d.name);
    } else if (!IsColour(d.value)) {
      result.ignored.push_back(where + ": the results page takes colours only");
    } else {
      result.page_css += css;
    }
  }
}

}  // namespace

SkinSheetResult CheckSkinSheet(std::string_view text, const std::string& folder) {
  SkinSheetResult result;
  const std::optional<std::string> plain = WithoutComments(text, result.error);
  std::vector<Rule> rules;
  if (!plain || !ReadRules(*plain, rules, result.error)) return result;
  result.parsed = true;
  const UrlCheck urls(folder);
  for (const Rule& rule : rules) {
    if (rule.selectors == "ResultsPage") {
      CheckPageRule(rule, result);
      continue;
    }
    std::string body;
    for (const Declaration& d : rule.declarations) {
      const std::string where = "line " + std::to_string(d.line) + ": " + d.name + ": " + d.value;
      const bool allowed =
          LooksOnly(d.name) || (SubControlGeometry(d.name) && OnlySubControls(rule.selectors));
      if (!allowed) {
        result.ignored.push_back(where + ": skins may not set " + d.name);
        continue;
      }
      std::string reason;
      const std::optional<std::string> value = ResolveUrls(d.value, urls, reason);
      if (!value) {
        result.ignored.push_back(where + ": " + reason);
        continue;
      }
      body += "  " + d.name + ": " + *value + ";\n";
    }
    if (!body.empty()) result.sheet += rule.selectors + " {\n" + body + "}\n";
  }
  return result;
}

}  // namespace orvalen
