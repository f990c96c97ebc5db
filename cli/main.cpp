#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "config/ConfigLocation.h"
#include "platform/XmlDocument.h"

int main(int argc, char** argv) {
  orvalen::InitialiseXmlLibrary();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return orvalen::RunCli(args, std::cout, std::cerr, std::getenv(orvalen::kConfigUrlVariable));
}
