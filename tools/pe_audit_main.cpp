// pe_audit: checks that Windows 95 can load a program.
//   pe_audit --exports DIR --stubs FILE [--max-size BYTES] PROGRAM.exe...
// Prints every import as DLL!function, each fault on its own line with what is wrong, and exits
// with 1 when any program has a fault (2 when a file or list cannot be read).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "import_audit.h"
#include "pe_image.h"

namespace {

int Usage() {
  std::cerr << "usage: pe_audit --exports DIR --stubs FILE [--max-size BYTES] PROGRAM...\n";
  return 2;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Audits one program; the number of faults.
int AuditProgram(const std::string& path, const audit::ExportLists& lists,
                 std::uintmax_t max_size) {
  const std::string bytes = ReadFile(path);
  const pe::Image image = pe::Read(bytes);
  std::cout << path << ": " << (image.magic == pe::kMagicPe32 ? "PE32" : "PE32+") << ", machine 0x"
            << std::hex << image.machine << std::dec << ", subsystem " << image.subsystem << " "
            << image.subsystem_version.major << "." << image.subsystem_version.minor
            << ", OS version " << image.os_version.major << "." << image.os_version.minor << ", "
            << bytes.size() << " bytes, " << image.imports.size() << " imports\n";
  int faults = 0;
  for (const std::string& fault : audit::HeaderFaults(image, bytes.size(), max_size)) {
    std::cout << "FAULT  " << fault << "\n";
    ++faults;
  }
  for (const pe::Import& import : image.imports) {
    const std::string fault = audit::ImportFault(import, lists);
    const char* kind = import.delay_loaded ? " (delay-loaded)" : "";
    if (fault.empty()) {
      std::cout << "  ok   " << audit::ImportName(import) << kind << "\n";
    } else {
      std::cout << "FAULT  " << audit::ImportName(import) << kind << ": " << fault << "\n";
      ++faults;
    }
  }
  std::cout << path << ": "
            << (faults ? std::to_string(faults) + " fault(s)" : "loads on Windows 95") << "\n";
  return faults;
}

}  // namespace

int main(int argc, char** argv) {
  std::string exports;
  std::string stubs;
  std::uintmax_t max_size = 0;
  std::vector<std::string> programs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--exports" || arg == "--stubs" || arg == "--max-size") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (arg == "--exports") {
        exports = value;
      } else if (arg == "--stubs") {
        stubs = value;
      } else {
        max_size = std::strtoull(value.c_str(), nullptr, 10);
      }
    } else if (arg.rfind("--", 0) == 0) {
      return Usage();
    } else {
      programs.push_back(arg);
    }
  }
  if (exports.empty() || stubs.empty() || programs.empty()) {
    return Usage();
  }
  try {
    const audit::ExportLists lists = audit::LoadExportLists(exports, stubs);
    int faults = 0;
    for (const std::string& program : programs) {
      faults += AuditProgram(program, lists, max_size);
    }
    return faults ? 1 : 0;
  } catch (const std::exception& error) {
    std::cerr << "pe_audit: " << error.what() << "\n";
    return 2;
  }
}
