#include "core/product_settings.h"

#include <memory>

namespace core {

RegistryWriteError::RegistryWriteError(const std::string& value_name, platform::ErrorCode code)
    : std::runtime_error("Failed to set data for '" + value_name + "'"),
      value_name_(value_name),
      code_(code) {}

bool OpenAutostartKey(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  return registry.OpenKey(kRunServicesKey, true, key) == platform::kNoError;
}

void EnableAutostart(platform::Registry& registry, const std::string& executable_path) {
  std::unique_ptr<platform::RegistryKey> key;
  // A key that cannot be opened cannot take the value either; say so rather than end silently
  // without the entry.
  const platform::ErrorCode opened = registry.OpenKey(kRunServicesKey, true, key);
  if (opened != platform::kNoError) {
    throw RegistryWriteError(kAutostartValue, opened);
  }
  // One write replaces an existing entry, its type included. Deleting it first would lose the
  // old entry whenever the registry then refused the new one.
  const platform::ErrorCode written = key->WriteString(kAutostartValue, executable_path);
  if (written != platform::kNoError) {
    throw RegistryWriteError(kAutostartValue, written);
  }
}

void DisableAutostart(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(kRunServicesKey, true, key) != platform::kNoError) {
    return;
  }
  key->DeleteValue(kAutostartValue);
}

bool SetCancel(platform::Registry& registry, bool enabled) {
  if (!registry.KeyExists(kProductKey)) {
    return false;
  }
  std::unique_ptr<platform::RegistryKey> key;
  // Opened without creating: the key belongs to the protection program. One that exists but
  // cannot be opened for writing is a refused write.
  const platform::ErrorCode opened = registry.OpenKey(kProductKey, false, key);
  if (opened == platform::kErrorFileNotFound) {
    return false;
  }
  if (opened != platform::kNoError) {
    throw RegistryWriteError(kCancelValue, opened);
  }
  const platform::ErrorCode written = key->WriteBool(kCancelValue, enabled);
  if (written != platform::kNoError) {
    throw RegistryWriteError(kCancelValue, written);
  }
  return true;
}

void RemoveProductSettings(platform::Registry& registry) {
  DisableAutostart(registry);
  registry.DeleteKeyTree(kProductKey);
}

}  // namespace core
