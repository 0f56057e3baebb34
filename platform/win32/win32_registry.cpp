// The registry interface over RegCreateKeyExA, RegOpenKeyExA, RegQueryValueExA,
// RegSetValueExA, RegDeleteValueA, RegEnumKeyExA, RegDeleteKeyA and RegCloseKey: the calls that
// Windows 95 has.
//
// The tool is a 32-bit program, so on 64-bit Windows it reads and writes the 32-bit view of
// HKLM\SOFTWARE, where the protection program, a 32-bit program too, looks; no view flag is
// needed (and Windows 9x has neither the flag nor RegDeleteKeyExA).
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

namespace platform {
namespace {

constexpr ErrorCode kErrorInvalidParameter = 87;

// Owns an open key and closes it.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  HKEY* receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32Key : public RegistryKey {
 public:
  Win32Key() = default;

  HKEY* receive() { return handle_.receive(); }

  bool ValueExists(const std::string& name) override {
    return RegQueryValueExA(handle_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  ErrorCode WriteString(const std::string& name, const std::string& text) override {
    // The size counts the terminating NUL, which REG_SZ data carries.
    return static_cast<ErrorCode>(RegSetValueExA(handle_.get(), name.c_str(), 0, REG_SZ,
                                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                                 static_cast<DWORD>(text.size()) + 1));
  }

  ErrorCode WriteBool(const std::string& name, bool value) override {
    const DWORD data = value ? 1 : 0;
    return static_cast<ErrorCode>(RegSetValueExA(handle_.get(), name.c_str(), 0, REG_DWORD,
                                                 reinterpret_cast<const BYTE*>(&data),
                                                 sizeof data));
  }

  ErrorCode DeleteValue(const std::string& name) override {
    return static_cast<ErrorCode>(RegDeleteValueA(handle_.get(), name.c_str()));
  }

  ErrorCode ReadValue(const std::string& name, RegistryValue& value) override {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExA(handle_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) {
      return static_cast<ErrorCode>(result);
    }
    std::string data(size, '\0');
    result = RegQueryValueExA(handle_.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (result != ERROR_SUCCESS) {
      return static_cast<ErrorCode>(result);
    }
    data.resize(size);
    value.type = type;
    value.data = std::move(data);
    return kNoError;
  }

 private:
  KeyHandle handle_;
};

bool IsRootPath(const std::string& path) {
  return path.find_first_not_of('\\') == std::string::npos;
}

// Deletes the subkeys of `path` depth first, then the key itself; the NT family's RegDeleteKeyA
// refuses a key that still has subkeys (Windows 9x would delete them itself).
LONG DeleteTree(const std::string& path) {
  std::vector<std::string> children;
  {
    KeyHandle key;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.receive());
    if (result != ERROR_SUCCESS) {
      return result;
    }
    // Names first, deletions after: deleting while enumerating would shift the indexes.
    char name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      result = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (result != ERROR_SUCCESS) {
        break;
      }
      children.emplace_back(name, length);
    }
  }
  for (const std::string& child : children) {
    std::string child_path = path;
    child_path += '\\';
    child_path += child;
    DeleteTree(child_path);
  }
  return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace

ErrorCode Win32Registry::OpenKey(const std::string& path, bool create,
                                 std::unique_ptr<RegistryKey>& key) {
  key.reset();
  auto opened = std::make_unique<Win32Key>();
  LONG result;
  if (create) {
    result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, opened->receive(), nullptr);
  } else {
    result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, opened->receive());
  }
  if (result != ERROR_SUCCESS) {
    return static_cast<ErrorCode>(result);
  }
  key = std::move(opened);
  return kNoError;
}

bool Win32Registry::KeyExists(const std::string& path) {
  KeyHandle key;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.receive()) ==
         ERROR_SUCCESS;
}

ErrorCode Win32Registry::DeleteKeyTree(const std::string& path) {
  // An empty path names HKEY_LOCAL_MACHINE itself, whose subkeys must never be deleted.
  if (IsRootPath(path)) {
    return kErrorInvalidParameter;
  }
  return static_cast<ErrorCode>(DeleteTree(path));
}

}  // namespace platform
