// Reads what decides whether Windows loads a program: the PE headers (format, machine,
// subsystem, versions) and the imports of the ordinary and the delay-load import tables.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

constexpr std::uint16_t kMachineI386 = 0x14c;
constexpr std::uint16_t kMagicPe32 = 0x10b;
constexpr std::uint16_t kMagicPe32Plus = 0x20b;
constexpr std::uint16_t kSubsystemGui = 2;
constexpr std::uint16_t kSubsystemConsole = 3;

struct Version {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
};

struct Import {
  std::string dll;       // as the table names it
  std::string function;  // empty for an import by ordinal
  std::uint16_t ordinal = 0;
  bool delay_loaded = false;
};

struct Image {
  std::uint16_t machine = 0;
  std::uint16_t magic = 0;  // kMagicPe32 or kMagicPe32Plus
  std::uint16_t subsystem = 0;
  Version subsystem_version;
  Version os_version;
  std::vector<Import> imports;
};

// A file that is no PE image, or whose tables point outside it.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the image's bytes. The import tables are read for PE32 images only; a PE32+ image
// comes back with its headers and no imports.
Image Read(const std::string& bytes);

}  // namespace pe
