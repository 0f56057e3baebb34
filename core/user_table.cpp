#include "core/user_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace core {

std::string ShortString255::str() const {
  return std::string(reinterpret_cast<const char*>(bytes.data()) + 1, length());
}

void ShortString255::assign(std::string_view text) {
  const std::size_t n = std::min<std::size_t>(text.size(), 255);
  bytes[0] = static_cast<std::uint8_t>(n);
  std::memcpy(bytes.data() + 1, text.data(), n);
}

bool ShortString255::operator==(std::string_view text) const {
  return text.size() == length() && std::memcmp(bytes.data() + 1, text.data(), length()) == 0;
}

void UserTable::SetCount(int n) {
  count_ = static_cast<std::uint8_t>(std::clamp(n, 0, kSlots));
}

UserRecord& UserTable::Slot(int k) {
  if (k < 1 || k > kSlots) {
    throw std::out_of_range("user slot " + std::to_string(k));
  }
  return slots_[k - 1];
}

const UserRecord& UserTable::Slot(int k) const {
  if (k < 1 || k > kSlots) {
    throw std::out_of_range("user slot " + std::to_string(k));
  }
  return slots_[k - 1];
}

std::string UserTable::NameOf(int k) const {
  return InUse(k) ? Slot(k).name.str() : "";
}

std::string UserTable::PasswordOf(int k) const {
  return InUse(k) ? Slot(k).password.str() : "";
}

bool UserTable::HasAdminRights() const {
  return NameOf(CurrentUser) == kAdministratorName || (count_ == 0 && !users_unread_);
}

bool UserTable::AppendUser(std::string_view name, std::string_view password) {
  if (IsFull()) {
    return false;
  }
  ++count_;
  Slot(count_).name.assign(name);
  Slot(count_).password.assign(password);
  return true;
}

void UserTable::RemoveUserAt(int k) {
  if (!InUse(k)) {
    return;
  }
  Slot(k) = Slot(count_);
  --count_;
}

void UserTable::SetUserName(int k, std::string_view text) {
  if (InUse(k)) {
    Slot(k).name.assign(text);
  }
}

void UserTable::SetUserPassword(int k, std::string_view text) {
  if (InUse(k)) {
    Slot(k).password.assign(text);
  }
}

std::vector<std::string> UserTable::UserNames() const {
  std::vector<std::string> names;
  names.reserve(count_);
  for (int k = 1; k <= count_; ++k) {
    names.push_back(Slot(k).name.str());
  }
  return names;
}

int UserTable::FindLogin(std::string_view name, std::string_view password) const {
  for (int k = 1; k <= count_; ++k) {
    if (Slot(k).name == name && Slot(k).password == password) {
      return k;
    }
  }
  return 0;
}

}  // namespace core
