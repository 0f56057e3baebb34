// An in-memory registry with the semantics of HKEY_LOCAL_MACHINE that the tool relies on: key
// and value names compared without letter case, missing keys and values reported as
// kErrorFileNotFound, and keys deleted only together with their subkeys. It serves the native
// build and the tests; a test can make value writes refused to reach the error paths.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace platform {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();

  ErrorCode OpenKey(const std::string& path, bool create,
                    std::unique_ptr<RegistryKey>& key) override;
  bool KeyExists(const std::string& path) override;
  ErrorCode DeleteKeyTree(const std::string& path) override;

  // While set, every value write fails with kErrorAccessDenied and changes nothing.
  void RefuseWrites(bool refuse) { *refuse_writes_ = refuse; }

  // Keys and values in the whole tree, for tests that check nothing was created.
  int KeyCount() const;
  int ValueCount() const;

  // Compares 8-bit names without letter case, as the registry does.
  struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  struct Node {
    std::map<std::string, std::shared_ptr<Node>, NameLess> subkeys;
    std::map<std::string, RegistryValue, NameLess> values;
    // Set when the key is deleted while a handle to it is still open.
    bool deleted = false;
  };

 private:
  std::shared_ptr<Node> Find(const std::string& path) const;

  std::shared_ptr<Node> root_;
  // Shared with the open keys, which may outlive a change of the setting.
  std::shared_ptr<bool> refuse_writes_;
};

}  // namespace platform
