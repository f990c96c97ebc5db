// The window program with a built-in configuration address chosen by the
// test (ORVALEN_TEST_BUILTIN_URL), so that the on-demand sandbox can be tried
// on a free port instead of the real built-in one.
#include <cstdlib>

#include "app/start/WindowProgram.h"
#include "platform/XmlDocument.h"

int main(int argc, char** argv) {
  orvalen::InitialiseXmlLibrary();
  const char* builtin = std::getenv("ORVALEN_TEST_BUILTIN_URL");
  return orvalen::RunWindowProgram(argc, argv,
                                   {.builtin_config_url = builtin != nullptr ? builtin : "",
                                    .sandbox_program = QStringLiteral(ORVALEN_SANDBOX_PATH)});
}
