#include "platform/portable/memory_registry.h"

#include <cctype>
#include <vector>

namespace platform {
namespace {

constexpr ErrorCode kErrorInvalidParameter = 87;

// "SOFTWARE\Tarnwick Keep\Korvane" -> its three names; empty names between backslashes are
// skipped.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  std::string name;
  for (char c : path) {
    if (c == '\\') {
      if (!name.empty()) {
        names.push_back(name);
      }
      name.clear();
    } else {
      name += c;
    }
  }
  if (!name.empty()) {
    names.push_back(name);
  }
  return names;
}

void MarkDeleted(MemoryRegistry::Node& node) {
  node.deleted = true;
  for (auto& subkey : node.subkeys) {
    MarkDeleted(*subkey.second);
  }
}

int CountKeys(const MemoryRegistry::Node& node) {
  int count = 0;
  for (const auto& subkey : node.subkeys) {
    count += 1 + CountKeys(*subkey.second);
  }
  return count;
}

int CountValues(const MemoryRegistry::Node& node) {
  int count = static_cast<int>(node.values.size());
  for (const auto& subkey : node.subkeys) {
    count += CountValues(*subkey.second);
  }
  return count;
}

class MemoryKey : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<MemoryRegistry::Node> node, std::shared_ptr<const bool> refuse_writes)
      : node_(std::move(node)), refuse_writes_(std::move(refuse_writes)) {}

  bool ValueExists(const std::string& name) override {
    return !node_->deleted && node_->values.count(name) != 0;
  }

  ErrorCode WriteString(const std::string& name, const std::string& text) override {
    return Write(name, {kRegString, text + '\0'});
  }

  ErrorCode WriteBool(const std::string& name, bool value) override {
    return Write(name, {kRegDword, std::string(value ? "\x01" : "\x00", 1) + std::string(3, '\0')});
  }

  ErrorCode DeleteValue(const std::string& name) override {
    if (node_->deleted) {
      return kErrorKeyDeleted;
    }
    return node_->values.erase(name) != 0 ? kNoError : kErrorFileNotFound;
  }

  ErrorCode ReadValue(const std::string& name, RegistryValue& value) override {
    if (node_->deleted) {
      return kErrorKeyDeleted;
    }
    auto found = node_->values.find(name);
    if (found == node_->values.end()) {
      return kErrorFileNotFound;
    }
    value = found->second;
    return kNoError;
  }

 private:
  ErrorCode Write(const std::string& name, RegistryValue value) {
    if (node_->deleted) {
      return kErrorKeyDeleted;
    }
    if (*refuse_writes_) {
      return kErrorAccessDenied;
    }
    node_->values[name] = std::move(value);
    return kNoError;
  }

  std::shared_ptr<MemoryRegistry::Node> node_;
  std::shared_ptr<const bool> refuse_writes_;
};

}  // namespace

bool MemoryRegistry::NameLess::operator()(const std::string& a, const std::string& b) const {
  const std::size_t length = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < length; ++i) {
    const int ca = std::toupper(static_cast<unsigned char>(a[i]));
    const int cb = std::toupper(static_cast<unsigned char>(b[i]));
    if (ca != cb) {
      return ca < cb;
    }
  }
  return a.size() < b.size();
}

MemoryRegistry::MemoryRegistry()
    : root_(std::make_shared<Node>()), refuse_writes_(std::make_shared<bool>(false)) {}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(const std::string& path) const {
  std::shared_ptr<Node> node = root_;
  for (const std::string& name : SplitPath(path)) {
    auto found = node->subkeys.find(name);
    if (found == node->subkeys.end()) {
      return nullptr;
    }
    node = found->second;
  }
  return node;
}

ErrorCode MemoryRegistry::OpenKey(const std::string& path, bool create,
                                  std::unique_ptr<RegistryKey>& key) {
  key.reset();
  std::shared_ptr<Node> node = root_;
  for (const std::string& name : SplitPath(path)) {
    auto found = node->subkeys.find(name);
    if (found != node->subkeys.end()) {
      node = found->second;
    } else if (create) {
      // The new key keeps the letter case it was created with.
      node = node->subkeys[name] = std::make_shared<Node>();
    } else {
      return kErrorFileNotFound;
    }
  }
  key = std::make_unique<MemoryKey>(node, refuse_writes_);
  return kNoError;
}

bool MemoryRegistry::KeyExists(const std::string& path) {
  return Find(path) != nullptr;
}

ErrorCode MemoryRegistry::DeleteKeyTree(const std::string& path) {
  const std::vector<std::string> names = SplitPath(path);
  // An empty path names the root itself, whose subkeys must never be deleted.
  if (names.empty()) {
    return kErrorInvalidParameter;
  }
  std::shared_ptr<Node> parent = root_;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    auto found = parent->subkeys.find(names[i]);
    if (found == parent->subkeys.end()) {
      return kErrorFileNotFound;
    }
    parent = found->second;
  }
  auto found = parent->subkeys.find(names.back());
  if (found == parent->subkeys.end()) {
    return kErrorFileNotFound;
  }
  MarkDeleted(*found->second);
  parent->subkeys.erase(found);
  return kNoError;
}

int MemoryRegistry::KeyCount() const {
  return CountKeys(*root_);
}

int MemoryRegistry::ValueCount() const {
  return CountValues(*root_);
}

}  // namespace platform
