#include "pe_image.h"

namespace pe {
namespace {

constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kDelayImportDirectory = 13;
constexpr std::uint32_t kOrdinalFlag = 0x80000000u;
// A delay-load descriptor whose attributes lack this bit holds addresses, not RVAs.
constexpr std::uint32_t kDelayRvaAttribute = 1;

struct Section {
  std::uint32_t virtual_address;
  std::uint32_t virtual_size;
  std::uint32_t raw_offset;
  std::uint32_t raw_size;
};

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  std::uint32_t U8(std::size_t at) const { return static_cast<unsigned char>(Byte(at)); }
  std::uint32_t U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }

  // A NUL-terminated string starting at a file offset.
  std::string CString(std::size_t at) const {
    std::string text;
    for (char c = Byte(at); c != '\0'; c = Byte(++at)) {
      text += c;
    }
    return text;
  }

  void AddSection(const Section& section) { sections_.push_back(section); }
  const std::vector<Section>& sections() const { return sections_; }

  // Whether a relative virtual address lies in the file's data of some section.
  bool IsMapped(std::uint32_t rva) const {
    for (const Section& s : sections_) {
      if (rva >= s.virtual_address && rva - s.virtual_address < s.raw_size) {
        return true;
      }
    }
    return false;
  }

  // The file offset of a relative virtual address.
  std::size_t Offset(std::uint32_t rva) const {
    for (const Section& s : sections_) {
      const std::uint32_t size = s.virtual_size ? s.virtual_size : s.raw_size;
      if (rva >= s.virtual_address && rva - s.virtual_address < size) {
        if (rva - s.virtual_address >= s.raw_size) {
          throw FormatError("RVA " + Hex(rva) + " lies in the uninitialised part of a section");
        }
        return s.raw_offset + (rva - s.virtual_address);
      }
    }
    throw FormatError("RVA " + Hex(rva) + " lies in no section");
  }

  static std::string Hex(std::uint32_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
      text += digits[(value >> shift) & 15];
    }
    return text;
  }

 private:
  char Byte(std::size_t at) const {
    if (at >= bytes_.size()) {
      throw FormatError("the file ends before its headers or tables do");
    }
    return bytes_[at];
  }

  const std::string& bytes_;
  std::vector<Section> sections_;
};

// Reads one thunk table (import names or lookups) of 32-bit entries, up to its zero entry.
void ReadThunks(const Reader& file, std::uint32_t table_rva, const std::string& dll, bool delay,
                std::uint32_t image_base, std::vector<Import>* imports) {
  std::size_t at = file.Offset(table_rva);
  for (std::uint32_t thunk = file.U32(at); thunk != 0; at += 4, thunk = file.U32(at)) {
    Import import{dll, "", 0, delay};
    if (thunk & kOrdinalFlag) {
      import.ordinal = static_cast<std::uint16_t>(thunk & 0xffff);
    } else {
      const std::uint32_t by_name = thunk - image_base;
      import.ordinal = static_cast<std::uint16_t>(file.U16(file.Offset(by_name)));
      import.function = file.CString(file.Offset(by_name) + 2);
    }
    imports->push_back(import);
  }
}

void ReadImports(const Reader& file, std::uint32_t directory_rva, std::vector<Import>* imports) {
  constexpr std::size_t kDescriptorSize = 20;
  for (std::size_t at = file.Offset(directory_rva);; at += kDescriptorSize) {
    const std::uint32_t lookup = file.U32(at);
    const std::uint32_t name = file.U32(at + 12);
    const std::uint32_t addresses = file.U32(at + 16);
    if (lookup == 0 && name == 0 && addresses == 0) {
      return;
    }
    // Without a lookup table the address table still holds the names before binding.
    ReadThunks(file, lookup ? lookup : addresses, file.CString(file.Offset(name)), false, 0,
               imports);
  }
}

void ReadDelayImports(const Reader& file, std::uint32_t directory_rva, std::uint32_t image_base,
                      std::vector<Import>* imports) {
  constexpr std::size_t kDescriptorSize = 32;
  for (std::size_t at = file.Offset(directory_rva);; at += kDescriptorSize) {
    const std::uint32_t attributes = file.U32(at);
    const std::uint32_t name = file.U32(at + 4);
    const std::uint32_t names = file.U32(at + 16);
    if (name == 0) {
      return;
    }
    const std::uint32_t base = (attributes & kDelayRvaAttribute) ? 0 : image_base;
    ReadThunks(file, names - base, file.CString(file.Offset(name - base)), true, base, imports);
  }
}

// Whether the file holds, at `at`, a delay-load descriptor as GNU dlltool lays it out: RVA
// attributes, a DLL name ending in ".dll", and handle, address and name tables in the image.
bool LooksLikeDelayDescriptor(const Reader& file, std::size_t at, std::size_t end) {
  if (end - at < 32 || file.U32(at) != kDelayRvaAttribute) {
    return false;
  }
  for (std::size_t field = 4; field <= 16; field += 4) {
    if (!file.IsMapped(file.U32(at + field))) {
      return false;
    }
  }
  std::string name;
  for (std::size_t c = file.Offset(file.U32(at + 4)); name.size() < 64; ++c) {
    const std::uint32_t byte = file.U8(c);
    if (byte == 0) {
      break;
    }
    if (byte < 0x20 || byte > 0x7e) {
      return false;
    }
    name += static_cast<char>(byte);
  }
  std::string suffix = name.size() > 4 ? name.substr(name.size() - 4) : "";
  for (char& c : suffix) {
    c = static_cast<char>(c | 0x20);
  }
  return suffix == ".dll";
}

// GNU ld leaves the delay-load directory empty although dlltool's delay-load libraries put
// descriptors into the image (Windows does not need the directory: the code that loads the DLL
// finds its descriptor by address). So without a directory the sections are searched for them.
void FindDelayImports(const Reader& file, std::vector<Import>* imports) {
  for (const Section& section : file.sections()) {
    const std::size_t end = std::size_t{section.raw_offset} + section.raw_size;
    for (std::size_t at = section.raw_offset; at + 32 <= end; at += 4) {
      if (LooksLikeDelayDescriptor(file, at, end)) {
        ReadThunks(file, file.U32(at + 16), file.CString(file.Offset(file.U32(at + 4))), true, 0,
                   imports);
      }
    }
  }
}

}  // namespace

Image Read(const std::string& bytes) {
  Reader file(bytes);
  if (file.U16(0) != 0x5a4d) {
    throw FormatError("no MZ header");
  }
  const std::size_t pe = file.U32(0x3c);
  if (file.U32(pe) != 0x00004550) {
    throw FormatError("no PE signature");
  }
  const std::size_t coff = pe + 4;
  Image image;
  image.machine = static_cast<std::uint16_t>(file.U16(coff));
  const std::uint32_t section_count = file.U16(coff + 2);
  const std::uint32_t optional_size = file.U16(coff + 16);
  const std::size_t optional = coff + 20;
  image.magic = static_cast<std::uint16_t>(file.U16(optional));
  image.os_version = {static_cast<std::uint16_t>(file.U16(optional + 40)),
                      static_cast<std::uint16_t>(file.U16(optional + 42))};
  image.subsystem_version = {static_cast<std::uint16_t>(file.U16(optional + 48)),
                             static_cast<std::uint16_t>(file.U16(optional + 50))};
  image.subsystem = static_cast<std::uint16_t>(file.U16(optional + 68));
  if (image.magic != kMagicPe32) {
    if (image.magic != kMagicPe32Plus) {
      throw FormatError("unknown optional header magic " + Reader::Hex(image.magic));
    }
    return image;
  }

  const std::size_t sections = optional + optional_size;
  for (std::uint32_t i = 0; i < section_count; ++i) {
    const std::size_t at = sections + std::size_t{40} * i;
    file.AddSection({file.U32(at + 12), file.U32(at + 8), file.U32(at + 20), file.U32(at + 16)});
  }
  const std::uint32_t image_base = file.U32(optional + 28);
  const std::uint32_t directory_count = file.U32(optional + 92);
  auto directory = [&](std::uint32_t index) -> std::uint32_t {
    return index < directory_count ? file.U32(optional + 96 + std::size_t{8} * index) : 0;
  };
  if (std::uint32_t rva = directory(kImportDirectory)) {
    ReadImports(file, rva, &image.imports);
  }
  if (std::uint32_t rva = directory(kDelayImportDirectory)) {
    ReadDelayImports(file, rva, image_base, &image.imports);
  } else {
    FindDelayImports(file, &image.imports);
  }
  return image;
}

}  // namespace pe
