// Entry point of the end-to-end tests. Besides GoogleTest's own flags it takes
//   --tool=PATH         korvane_config.exe (a Unix path becomes a Z:\ path under Wine)
//   --screenshots=DIR   where the screenshots go
// KORVANE_CONFIG_EXE in the environment stands in for --tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "e2e/driver.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char* from_environment = std::getenv("KORVANE_CONFIG_EXE");
  std::string tool = from_environment ? from_environment : "";
  std::string screenshots;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--tool=", 0) == 0) {
      tool = arg.substr(std::strlen("--tool="));
    } else if (arg.rfind("--screenshots=", 0) == 0) {
      screenshots = arg.substr(std::strlen("--screenshots="));
    }
  }
  e2e::Configure(tool, screenshots);
  e2e::PrepareDisplay();
  return RUN_ALL_TESTS();
}
