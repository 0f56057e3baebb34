#include "pe_builder_test_support.h"

#include <cstdlib>

namespace pe_test {
namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kImageBase = 0x400000;

class Bytes {
 public:
  std::size_t size() const { return data_.size(); }
  void Put16(std::size_t at, std::uint32_t v) { Put(at, v, 2); }
  void Put32(std::size_t at, std::uint32_t v) { Put(at, v, 4); }
  void PutText(std::size_t at, const std::string& text) {
    Grow(at + text.size() + 1);
    text.copy(&data_[at], text.size());
  }
  // Appends room for `size` bytes, 4-aligned; returns where it starts.
  std::size_t Reserve(std::size_t size) {
    const std::size_t at = (data_.size() + 3) & ~std::size_t{3};
    Grow(at + size);
    return at;
  }
  std::string& str() { return data_; }

 private:
  void Grow(std::size_t size) {
    if (data_.size() < size) {
      data_.resize(size, '\0');
    }
  }
  void Put(std::size_t at, std::uint32_t v, int bytes) {
    Grow(at + bytes);
    for (int i = 0; i < bytes; ++i) {
      data_[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
    }
  }
  std::string data_;
};

// Writes one zero-terminated table of 32-bit thunks for `functions` into the section; its offset.
std::size_t WriteThunks(Bytes& section, const std::vector<std::string>& functions) {
  const std::size_t table = section.Reserve(4 * (functions.size() + 1));
  for (std::size_t i = 0; i < functions.size(); ++i) {
    const std::string& f = functions[i];
    if (f[0] == '#') {
      section.Put32(table + 4 * i, 0x80000000u | std::strtoul(f.c_str() + 1, nullptr, 10));
    } else {
      const std::size_t by_name = section.Reserve(2 + f.size() + 1);
      section.PutText(by_name + 2, f);
      section.Put32(table + 4 * i, kSectionRva + static_cast<std::uint32_t>(by_name));
    }
  }
  return table;
}

std::size_t WriteName(Bytes& section, const std::string& name) {
  const std::size_t at = section.Reserve(name.size() + 1);
  section.PutText(at, name);
  return at;
}

std::uint32_t Rva(std::size_t offset) {
  return kSectionRva + static_cast<std::uint32_t>(offset);
}

}  // namespace

std::string BuildImage(const ImageSpec& layout) {
  // The section: a filler word (so no table starts at RVA 0 of it), the import descriptors,
  // the delay descriptors, then the thunk tables and names they point to.
  Bytes section;
  section.Reserve(4);
  const std::size_t imports = section.Reserve(20 * (layout.imports.size() + 1));
  const std::size_t delays = section.Reserve(32 * (layout.delay_imports.size() + 1));
  for (std::size_t i = 0; i < layout.imports.size(); ++i) {
    const std::size_t lookup = WriteThunks(section, layout.imports[i].functions);
    const std::size_t addresses = WriteThunks(section, layout.imports[i].functions);
    const std::size_t name = WriteName(section, layout.imports[i].dll);
    section.Put32(imports + 20 * i, Rva(lookup));
    section.Put32(imports + 20 * i + 12, Rva(name));
    section.Put32(imports + 20 * i + 16, Rva(addresses));
  }
  for (std::size_t i = 0; i < layout.delay_imports.size(); ++i) {
    const std::size_t names = WriteThunks(section, layout.delay_imports[i].functions);
    const std::size_t addresses = WriteThunks(section, layout.delay_imports[i].functions);
    const std::size_t handle = section.Reserve(4);
    const std::size_t name = WriteName(section, layout.delay_imports[i].dll);
    const std::size_t at = delays + 32 * i;
    section.Put32(at, 1);
    section.Put32(at + 4, Rva(name));
    section.Put32(at + 8, Rva(handle));
    section.Put32(at + 12, Rva(addresses));
    section.Put32(at + 16, Rva(names));
  }
  const std::uint32_t section_size = static_cast<std::uint32_t>(section.size());
  const std::uint32_t raw_size = (section_size + kFileAlignment - 1) & ~(kFileAlignment - 1);

  Bytes file;
  const std::size_t pe = 0x40;
  const std::uint32_t optional_size = layout.pe32_plus ? 240 : 224;
  const std::size_t optional = pe + 24;
  const std::size_t section_table = optional + optional_size;
  file.Put16(0, 0x5a4d);
  file.Put32(0x3c, pe);
  file.Put32(pe, 0x00004550);
  file.Put16(pe + 4, layout.machine);
  file.Put16(pe + 6, 1);
  file.Put16(pe + 20, optional_size);
  file.Put16(optional, layout.pe32_plus ? 0x20b : 0x10b);
  file.Put32(optional + 28, kImageBase);  // PE32 only; PE32+ images are not read further
  file.Put16(optional + 40, layout.os_major);
  file.Put16(optional + 42, layout.os_minor);
  file.Put16(optional + 48, layout.subsystem_major);
  file.Put16(optional + 50, layout.subsystem_minor);
  file.Put16(optional + 68, layout.subsystem);
  const std::size_t directories = optional + (layout.pe32_plus ? 112 : 96);
  const std::size_t import_directory = directories + 8;                   // entry 1
  const std::size_t delay_directory = directories + std::size_t{8} * 13;  // entry 13
  file.Put32(directories - 4, 16);
  if (!layout.imports.empty()) {
    file.Put32(import_directory, Rva(imports));
    file.Put32(import_directory + 4, 20 * static_cast<std::uint32_t>(layout.imports.size() + 1));
  }
  if (!layout.delay_imports.empty() && layout.delay_directory) {
    file.Put32(delay_directory, Rva(delays));
    file.Put32(delay_directory + 4, 32);
  }
  file.PutText(section_table, ".idata");
  file.Put32(section_table + 8, section_size);
  file.Put32(section_table + 12, kSectionRva);
  file.Put32(section_table + 16, raw_size);
  file.Put32(section_table + 20, kFileAlignment);
  std::string bytes = file.str();
  bytes.resize(kFileAlignment, '\0');
  section.str().resize(raw_size, '\0');
  return bytes + section.str();
}

}  // namespace pe_test
