// The registry operations the tool needs, all under HKEY_LOCAL_MACHINE, as one small interface
// with two backends: Win32 (what ships) and an in-memory tree for the native build and the
// tests. Every operation returns a Windows system error code or a plain bool; nothing here shows
// anything to the user. Key paths are relative to HKEY_LOCAL_MACHINE, such as
// "SOFTWARE\Tarnwick Keep\Korvane"; key and value names are compared without letter case.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace platform {

// Registry value types, as the REG_ constants number them.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegString = 1;  // REG_SZ
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;  // REG_DWORD, little-endian

constexpr ErrorCode kErrorKeyDeleted = 1018;

// A value as the registry holds it: its type and its raw bytes. A string's bytes end in the
// terminating NUL, which the registry stores with it.
struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::string data;
};

// An open key. Destroying the object closes the key.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  virtual bool ValueExists(const std::string& name) = 0;
  // REG_SZ holding the text and its terminating NUL.
  virtual ErrorCode WriteString(const std::string& name, const std::string& text) = 0;
  // REG_DWORD holding 1 for true and 0 for false.
  virtual ErrorCode WriteBool(const std::string& name, bool value) = 0;
  // kErrorFileNotFound when there is no such value.
  virtual ErrorCode DeleteValue(const std::string& name) = 0;
  // kErrorFileNotFound when there is no such value.
  virtual ErrorCode ReadValue(const std::string& name, RegistryValue& value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the key for reading and writing. With `create`, missing keys along the path are
  // created; without it a missing key gives kErrorFileNotFound. `key` is empty on failure.
  virtual ErrorCode OpenKey(const std::string& path, bool create,
                            std::unique_ptr<RegistryKey>& key) = 0;
  virtual bool KeyExists(const std::string& path) = 0;
  // Deletes the key with all its values and subkeys: every subkey first, depth first, then the
  // key itself. kErrorFileNotFound when the key is missing.
  virtual ErrorCode DeleteKeyTree(const std::string& path) = 0;
};

}  // namespace platform
