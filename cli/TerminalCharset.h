// TerminalCharset: the character set of the user's locale, which a
// terminal shows and a shell passes arguments in. The platform speaks
// UTF-8; orvalen-cli converts its arguments from this set and its text
// output to it.
//
//   setlocale(LC_ALL, "");
//   const TerminalCharset charset = TerminalCharset::OfLocale();   // "GB18030", say
//   std::optional<std::string> keyword = charset.Decode(argv[i]);  // UTF-8, or none if invalid
//   std::cout << charset.Encode(utf8_line);                        // '?' for what it lacks
//
// The C and POSIX locales (plain ASCII) count as UTF-8, as they do for most
// programs today: text passes through them unchanged. Conversion is
// iconv's, from the C library.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalen {

class TerminalCharset {
 public:
  explicit TerminalCharset(std::string name);  // an iconv name: "UTF-8", "GB18030", ...
  // The set of LC_CTYPE, once setlocale(LC_ALL, "") has run.
  static TerminalCharset OfLocale();

  const std::string& name() const { return name_; }
  bool utf8() const { return utf8_; }

  // `text` read in this set, as UTF-8; none when it is not valid text in it.
  std::optional<std::string> Decode(std::string_view text) const;
  // `utf8` written in this set; each character the set lacks (and each
  // byte that is not UTF-8) becomes '?'.
  std::string Encode(std::string_view utf8) const;

 private:
  std::string name_;
  bool utf8_ = true;
};

}  // namespace orvalen
