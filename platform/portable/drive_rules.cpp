#include "platform/portable/drive_rules.h"

#include <algorithm>
#include <cstring>

namespace platform::drive_rules {
namespace {

bool IsValidName(const std::string& name) {
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"|?*", c) != nullptr;
  });
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::string Folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

ErrorCode Resolve(const std::string& path, const Components& current_directory,
                  Components& components) {
  std::size_t at = 0;
  bool from_root = false;
  if (path.size() >= 2 && path[1] == ':') {
    if (path[0] != 'c' && path[0] != 'C') {
      return kErrorPathNotFound;
    }
    // "c:" alone or "c:name" is taken from the root: the tool's only directory on C: that
    // matters is the root itself.
    from_root = true;
    at = 2;
  }
  if (at < path.size() && IsSeparator(path[at])) {
    from_root = true;
  }
  components = from_root ? Components{} : current_directory;

  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) {
      ++end;
    }
    std::string part = path.substr(at, end - at);
    at = end + 1;
    if (part == "..") {
      if (!components.empty()) {
        components.pop_back();
      }
    } else if (!part.empty() && part != ".") {
      if (!IsValidName(part)) {
        return kErrorInvalidName;
      }
      components.push_back(std::move(part));
    }
  }
  return kNoError;
}

ErrorCode OpenRefusal(std::uint32_t attributes, Access access, Disposition disposition) {
  if (access != Access::kRead && (attributes & kAttributeReadOnly)) {
    return kErrorAccessDenied;
  }
  if (disposition == Disposition::kCreateAlways &&
      (attributes & (kAttributeHidden | kAttributeSystem))) {
    return kErrorAccessDenied;
  }
  return kNoError;
}

bool MayDelete(std::uint32_t attributes) {
  return (attributes & kAttributeReadOnly) == 0;
}

bool MayReplaceByCopy(std::uint32_t attributes) {
  return (attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem)) == 0;
}

std::uint32_t StoredAttributes(std::uint32_t requested) {
  return requested & ~kAttributeNormal;
}

std::uint32_t CopiedAttributes(std::uint32_t source) {
  return source | kAttributeArchive;
}

std::uint32_t ReportedAttributes(std::uint32_t stored) {
  return stored == 0 ? kAttributeNormal : stored;
}

}  // namespace platform::drive_rules
