#include "core/product_settings.h"

#include <memory>

namespace core {

namespace {

// A refused write raises the registry's error, named after the value.
void CheckWrite(const char* value_name, platform::ErrorCode error) {
  if (error != platform::kNoError) {
    throw RegistryWriteError(value_name, error);
  }
}

}  // namespace

bool OpenAutostartKey(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  return registry.OpenKey(kRunServicesKey, true, key) == platform::kNoError;
}

void EnableAutostart(platform::Registry& registry, const std::string& executable_path) {
  std::unique_ptr<platform::RegistryKey> key;
  // A key that cannot be opened cannot take the value either; say so rather than end silently
  // without the entry.
  CheckWrite(kAutostartValue, registry.OpenKey(kRunServicesKey, true, key));
  // One write replaces an existing entry, its type included. Deleting it first would lose the
  // old entry whenever the registry then refused the new one.
  CheckWrite(kAutostartValue, key->WriteString(kAutostartValue, executable_path));
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
  CheckWrite(kCancelValue, opened);
  CheckWrite(kCancelValue, key->WriteBool(kCancelValue, enabled));
  return true;
}

void RemoveProductSettings(platform::Registry& registry) {
  DisableAutostart(registry);
  registry.DeleteKeyTree(kProductKey);
}

}  // namespace core
