// Judges a PE image against what Windows 95 exports: the headers a 9x loader accepts and, for
// every import, whether that DLL exports the function by name there and whether it is a stub.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pe_image.h"

namespace audit {

// What the target system's DLLs export by name, and the exports that are stubs there. DLL names
// are kept in lower case with their ".dll"; function names as they are (they are case-sensitive).
struct ExportLists {
  std::map<std::string, std::set<std::string>> exports;
  std::set<std::string> stubs;  // "kernel32.dll!GetModuleHandleW"
};

// Reads a directory of "<dll>.txt" lists (one function a line) and a stub list whose lines read
// "dll!Function" with an optional "# reason".
ExportLists LoadExportLists(const std::string& exports_directory, const std::string& stub_file);

// "kernel32.dll!GetVersion", "comctl32.dll!#410" for an import by ordinal.
std::string ImportName(const pe::Import& import);

// Why the import keeps the program from loading or working on the target, or "" when it is fine.
std::string ImportFault(const pe::Import& import, const ExportLists& lists);

// The header faults: not PE32, not i386, not a GUI or console program, a subsystem or OS
// version above 4.x, a file larger than `max_size` bytes (0: no limit).
std::vector<std::string> HeaderFaults(const pe::Image& image, std::uintmax_t file_size,
                                      std::uintmax_t max_size);

}  // namespace audit
