// Builds small PE images in memory for the audit's tests: the headers, one section that holds
// the import tables, and optionally delay-load descriptors with or without their directory.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pe_test {

struct DllImports {
  std::string dll;
  std::vector<std::string> functions;  // "#410" imports by ordinal
};

struct ImageSpec {
  std::uint16_t machine = 0x14c;
  bool pe32_plus = false;
  std::uint16_t subsystem = 2;
  std::uint16_t subsystem_major = 4;
  std::uint16_t subsystem_minor = 0;
  std::uint16_t os_major = 4;
  std::uint16_t os_minor = 0;
  std::vector<DllImports> imports;
  std::vector<DllImports> delay_imports;
  // GNU ld leaves the delay-load directory empty; the MS linker fills it.
  bool delay_directory = true;
};

std::string BuildImage(const ImageSpec& layout);

}  // namespace pe_test
