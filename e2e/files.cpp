// The file, registry and databank side of the end-to-end driver. The test program runs in the
// same Wine prefix as the tool, so c:\ here is the tool's c:\.
#include <algorithm>
#include <iterator>
#include <ostream>

#include "e2e/driver.h"

namespace e2e {
namespace {

// The tool's working and side files that a test may leave behind: those of the boot option
// rewrite in c:\, and those of a databank save beside the databank.
const char* const kWorkFiles[] = {
    "c:\\tempbuffer.zvk",
    "c:\\Msdos.zvk",
    "c:\\windows\\system\\QslSysTbl.new",
    "c:\\windows\\system\\QslSysTbl.old",
    "c:\\windows\\system\\QslSysTbl.bad",
};
// What an earlier version left in the working directory.
const char* const kOldWorkFiles[] = {"tempbuffer.zvk"};

bool ClearAttributes(const std::string& path) {
  return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

// A small generator of our own for the filler, so a written databank is reproducible.
class Filler {
 public:
  explicit Filler(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  // (p + r) mod 256 with r in 0..254: never (p - 1) mod 256.
  std::uint8_t At(int position) {
    state_ = state_ * 1103515245u + 12345u;
    const std::uint32_t r = (state_ >> 16) % 255;
    return static_cast<std::uint8_t>(position + r);
  }

 private:
  std::uint32_t state_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Files

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD FileAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

testing::AssertionResult ReadFileBytes(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return testing::AssertionFailure() << "cannot open " << path << ", error " << GetLastError();
  }
  bytes->clear();
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read > 0) {
    bytes->append(buffer, read);
  }
  CloseHandle(file);
  if (!ok) return testing::AssertionFailure() << "reading " << path << " failed";
  return testing::AssertionSuccess();
}

testing::AssertionResult WriteFileBytes(const std::string& path, const std::string& bytes) {
  ClearAttributes(path);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return testing::AssertionFailure() << "cannot create " << path << ", error " << GetLastError();
  }
  DWORD written = 0;
  const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                              &written, nullptr) &&
                                    written == bytes.size());
  CloseHandle(file);
  if (!ok) return testing::AssertionFailure() << "writing " << path << " failed";
  return testing::AssertionSuccess();
}

testing::AssertionResult RemoveFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return testing::AssertionSuccess();
  ClearAttributes(path);
  const bool ok = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path.c_str())
                                                          : DeleteFileA(path.c_str());
  if (!ok) {
    return testing::AssertionFailure() << "cannot remove " << path << ", error " << GetLastError();
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ResetToolFiles() {
  std::vector<std::string> paths = {kDatabankPath, kMsdosPath, kMsdos2Path, kLogPath, kLogCopyPath};
  paths.insert(paths.end(), std::begin(kWorkFiles), std::end(kWorkFiles));
  for (const char* name : kOldWorkFiles) {
    paths.push_back(std::string(Tool::kDefaultWorkDir) + "\\" + name);
  }
  for (const auto& path : paths) {
    auto removed = RemoveFile(path);
    if (!removed) return removed;
  }
  CreateDirectoryA("c:\\windows\\system", nullptr);
  CreateDirectoryA(Tool::kDefaultWorkDir, nullptr);
  ResetRegistry();
  return testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------------------------
// Registry

void ResetRegistry() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunServicesKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, kAutostartValue);
    RegCloseKey(key);
  }
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
}

bool RegistryKeyExists(const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

bool ReadRegistryString(const std::string& key, const std::string& value, std::string* text) {
  DWORD type = 0, size = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                   &size) != ERROR_SUCCESS) {
    return false;
  }
  std::string buffer(size, '\0');
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_REG_SZ, &type, &buffer[0],
                   &size) != ERROR_SUCCESS) {
    return false;
  }
  *text = buffer.substr(0, buffer.find('\0'));
  return true;
}

bool ReadRegistryDword(const std::string& key, const std::string& value, DWORD* number) {
  DWORD size = sizeof(*number);
  return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_REG_DWORD, nullptr,
                      number, &size) == ERROR_SUCCESS;
}

testing::AssertionResult CreateRegistryKey(const std::string& key) {
  HKEY handle;
  const LONG error = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &handle, nullptr);
  if (error != ERROR_SUCCESS) {
    return testing::AssertionFailure() << "cannot create HKLM\\" << key << ", error " << error;
  }
  RegCloseKey(handle);
  return testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------------------------
// Databank

std::ostream& operator<<(std::ostream& out, const User& user) {
  return out << "{\"" << user.name << "\", \"" << user.password << "\"}";
}

std::string DecodeRecord(const std::string& stored) {
  std::string slot(stored);
  for (std::size_t k = 0; k < slot.size(); ++k) {
    slot[k] = static_cast<char>(static_cast<std::uint8_t>(slot[k]) - (k % 256));
  }
  return slot;
}

std::string SlotBytes(const User& user, std::uint8_t after_name, std::uint8_t after_password) {
  std::string slot(kRecordSize, '\0');
  auto put = [&slot](std::size_t half, const std::string& text, std::uint8_t after) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    slot[half] = static_cast<char>(length);
    std::copy_n(text.begin(), length, slot.begin() + half + 1);
    if (length < 255) slot[half + 1 + length] = static_cast<char>(after);
  };
  put(0, user.name, after_name);
  put(256, user.password, after_password);
  return slot;
}

std::string EncodeDataRecord(const std::string& slot, std::uint32_t seed) {
  Filler filler(seed);
  std::string stored(kRecordSize, '\0');
  for (std::size_t half = 0; half < kRecordSize; half += 256) {
    const int length = static_cast<std::uint8_t>(slot[half]);
    for (int p = 0; p < 256; ++p) {
      // Carried: the length byte, the characters and the one byte after them.
      const bool carried = p - 2 < length;
      const std::uint8_t v = static_cast<std::uint8_t>(slot[half + p]);
      stored[half + p] =
          static_cast<char>(carried ? static_cast<std::uint8_t>(v + p) : filler.At(p));
    }
  }
  return stored;
}

std::string EncodeDatabank(const std::vector<User>& users, std::uint32_t seed) {
  std::string file;
  for (const auto& user : users) {
    Filler decoys(++seed);
    for (int record = 0; record < 2; ++record) {
      for (std::size_t k = 0; k < kRecordSize; ++k) file += static_cast<char>(decoys.At(k % 256));
    }
    file += EncodeDataRecord(SlotBytes(user), seed * 7919u);
  }
  return file;
}

testing::AssertionResult DecodeDatabank(const std::string& file, std::vector<User>* users) {
  if (file.size() % kEntrySize != 0) {
    return testing::AssertionFailure()
           << "databank of " << file.size() << " bytes, not a multiple of " << kEntrySize;
  }
  users->clear();
  for (std::size_t entry = 0; entry < file.size(); entry += kEntrySize) {
    const std::string slot = DecodeRecord(file.substr(entry + 2 * kRecordSize, kRecordSize));
    auto text = [&slot](std::size_t half) {
      return slot.substr(half + 1, static_cast<std::uint8_t>(slot[half]));
    };
    users->push_back({text(0), text(256)});
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ReadDatabank(std::vector<User>* users) {
  std::string file;
  auto r = ReadFileBytes(kDatabankPath, &file);
  if (!r) return r;
  return DecodeDatabank(file, users);
}

testing::AssertionResult WriteDatabank(const std::vector<User>& users) {
  return WriteFileBytes(kDatabankPath, EncodeDatabank(users));
}

testing::AssertionResult FillerIsWellFormed(const std::string& file) {
  auto bad = [](std::uint8_t stored, std::size_t offset) {
    return stored == static_cast<std::uint8_t>(offset % 256 - 1);
  };
  for (std::size_t entry = 0; entry + kEntrySize <= file.size(); entry += kEntrySize) {
    for (std::size_t k = 0; k < 2 * kRecordSize; ++k) {
      if (bad(static_cast<std::uint8_t>(file[entry + k]), k)) {
        return testing::AssertionFailure() << "entry " << entry / kEntrySize + 1 << ": decoy byte "
                                           << k << " is (p - 1) mod 256";
      }
    }
    const std::size_t data = entry + 2 * kRecordSize;
    for (std::size_t half = 0; half < kRecordSize; half += 256) {
      const int length = static_cast<std::uint8_t>(file[data + half]);
      for (int p = length + 2; p < 256; ++p) {
        if (bad(static_cast<std::uint8_t>(file[data + half + p]), p)) {
          return testing::AssertionFailure()
                 << "entry " << entry / kEntrySize + 1 << ": filler at position " << p
                 << " of half " << half / 256 << " is (p - 1) mod 256";
        }
      }
    }
  }
  return testing::AssertionSuccess();
}

}  // namespace e2e
