// The registry interface over the Win32 registry functions (ANSI, 8-bit).
#pragma once

#include "platform/registry.h"

namespace platform {

class Win32Registry : public Registry {
 public:
  ErrorCode OpenKey(const std::string& path, bool create,
                    std::unique_ptr<RegistryKey>& key) override;
  bool KeyExists(const std::string& path) override;
  ErrorCode DeleteKeyTree(const std::string& path) override;
};

}  // namespace platform
