// orvalen: the desktop shopping browser.
#include <chrono>

#include "app/start/WindowProgram.h"
#include "config/SiteConfig.h"
#include "platform/XmlDocument.h"

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  orvalen::InitialiseXmlLibrary();  // before the search worker parses
  // The sandbox is installed next to the window's program.
  return orvalen::RunWindowProgram(argc, argv,
                                   {.builtin_config_url = orvalen::DefaultConfigUrl(),
                                    .sandbox_program = QStringLiteral("orvalen-sandbox"),
                                    .started = started});
}
