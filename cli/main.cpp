#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliApp.h"
#include "cli/TerminalCharset.h"
#include "config/ConfigLocation.h"
#include "platform/XmlDocument.h"

namespace {

// Reasons in Chinese where the user's language is Chinese.
orvalen::Words WordsOfLocale() {
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  return messages != nullptr && std::string_view(messages).starts_with("zh")
             ? orvalen::Words::Chinese
             : orvalen::Words::English;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  orvalen::InitialiseXmlLibrary();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return orvalen::RunCli(args, std::cout, std::cerr, std::getenv(orvalen::kConfigUrlVariable),
                         WordsOfLocale(), orvalen::TerminalCharset::OfLocale(), &std::cin);
}
