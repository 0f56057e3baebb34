#include "import_audit.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace audit {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) {
    return "";
  }
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) {
    throw std::runtime_error("cannot read " + path.string());
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line.substr(0, line.find('#')));
    if (!line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

std::string VersionText(const pe::Version& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace

ExportLists LoadExportLists(const std::string& exports_directory, const std::string& stub_file) {
  ExportLists lists;
  for (const auto& entry : std::filesystem::directory_iterator(exports_directory)) {
    if (entry.path().extension() == ".txt") {
      auto& names = lists.exports[Lower(entry.path().stem().string()) + ".dll"];
      for (const std::string& name : Lines(entry.path())) {
        names.insert(name);
      }
    }
  }
  if (lists.exports.empty()) {
    throw std::runtime_error("no export lists in " + exports_directory);
  }
  for (const std::string& line : Lines(stub_file)) {
    const auto bang = line.find('!');
    if (bang != std::string::npos) {
      lists.stubs.insert(Lower(line.substr(0, bang)) + line.substr(bang));
    }
  }
  return lists;
}

std::string ImportName(const pe::Import& import) {
  return Lower(import.dll) + "!" +
         (import.function.empty() ? "#" + std::to_string(import.ordinal) : import.function);
}

std::string ImportFault(const pe::Import& import, const ExportLists& lists) {
  const auto dll = lists.exports.find(Lower(import.dll));
  if (dll == lists.exports.end()) {
    return "a DLL that Windows 95 does not have";
  }
  if (import.function.empty()) {
    return "imported by ordinal; Windows 95 must export it by name";
  }
  if (dll->second.count(import.function) == 0) {
    return "not exported by name on Windows 95";
  }
  if (lists.stubs.count(ImportName(import))) {
    return "a stub on Windows 9x that fails when called";
  }
  return "";
}

std::vector<std::string> HeaderFaults(const pe::Image& image, std::uintmax_t file_size,
                                      std::uintmax_t max_size) {
  std::vector<std::string> faults;
  if (image.magic != pe::kMagicPe32) {
    faults.push_back("a PE32+ (64-bit) image; Windows 9x loads PE32 only");
  }
  if (image.machine != pe::kMachineI386) {
    std::ostringstream text;
    text << "machine 0x" << std::hex << image.machine << ", not i386 (0x14c)";
    faults.push_back(text.str());
  }
  if (image.subsystem != pe::kSubsystemGui && image.subsystem != pe::kSubsystemConsole) {
    faults.push_back("subsystem " + std::to_string(image.subsystem) + ", neither GUI nor console");
  }
  if (image.subsystem_version.major > 4) {
    faults.push_back("subsystem version " + VersionText(image.subsystem_version) +
                     "; Windows 9x loads 4.x at most");
  }
  if (image.os_version.major > 4) {
    faults.push_back("OS version " + VersionText(image.os_version) +
                     "; Windows 9x loads 4.x at most");
  }
  if (max_size != 0 && file_size > max_size) {
    faults.push_back("size " + std::to_string(file_size) + " bytes, above the limit of " +
                     std::to_string(max_size));
  }
  return faults;
}

}  // namespace audit
