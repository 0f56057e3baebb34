// The registry a unit test runs against. Natively: a fresh in-memory registry. Under Wine: the
// real registry of the throwaway test prefix, so each test removes the keys and values it
// touches before and after itself.
#pragma once

#include <memory>

#include "platform/portable/memory_registry.h"
#include "platform/registry.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

namespace testing_support {

inline std::unique_ptr<platform::Registry> MakeTestRegistry() {
#ifdef _WIN32
  return std::make_unique<platform::Win32Registry>();
#else
  return std::make_unique<platform::MemoryRegistry>();
#endif
}

// The in-memory registry behind a test, or nullptr under Wine.
inline platform::MemoryRegistry* AsMemoryRegistry(platform::Registry& registry) {
  return dynamic_cast<platform::MemoryRegistry*>(&registry);
}

}  // namespace testing_support
