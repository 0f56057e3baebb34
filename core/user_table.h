// The in-memory users databank: 255 slots of name and password, and the tool's login state.
// One instance lives for the whole run; every window reads and changes it directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A length-prefixed string of at most 255 8-bit characters: byte 0 holds the length, bytes
// 1..length the characters; the bytes after them carry no meaning but are kept as they are,
// because the databank file stores the byte after the text too.
struct ShortString255 {
  std::array<std::uint8_t, 256> bytes{};

  std::uint8_t length() const { return bytes[0]; }
  std::string str() const;
  // Keeps the first 255 characters of a longer text.
  void assign(std::string_view text);
  bool operator==(std::string_view text) const;
};

struct UserRecord {
  ShortString255 name;
  ShortString255 password;
};
static_assert(sizeof(ShortString255) == 256, "a string is stored in 256 bytes");
static_assert(sizeof(UserRecord) == 512, "a user record is exactly one 512-byte record");

inline constexpr std::string_view kAdministratorName = "Administrator";

class UserTable {
 public:
  static constexpr int kSlots = 255;

  // Slot index of the logged-in user; 0 is nobody, whose name is the empty string.
  std::uint8_t CurrentUser = 0;
  // Slot index of the user whose password the administrator is about to set.
  std::uint8_t SelectedUser = 0;
  // 1 after a successful login, 0 at start-up and after logout.
  std::uint8_t LoggedIn = 0;

  int Count() const { return count_; }
  bool IsFull() const { return count_ == kSlots; }
  // For the loader and for uninstall; n is cut to 0..255.
  void SetCount(int n);

  // Slots are numbered 1..255.
  UserRecord& Slot(int k);
  const UserRecord& Slot(int k) const;

  // The name and password of slot k, or "" for k = 0 (nobody) and for k outside 1..count.
  std::string NameOf(int k) const;
  std::string PasswordOf(int k) const;

  // True when the current slot's name is "Administrator", or when the table is empty: that is
  // how the very first user gets created. A table left empty because the databank's users could
  // not be read is no fresh databank and opens nothing.
  bool HasAdminRights() const;
  // For the loader: the databank holds users that are not in the table.
  void MarkUsersUnread() { users_unread_ = true; }

  // Adds a user in the new last slot. Refuses (false, nothing changed) when all 255 slots are
  // taken, so the one-byte count never wraps.
  bool AppendUser(std::string_view name, std::string_view password);
  // The last user moves into slot k; the others keep their slots.
  void RemoveUserAt(int k);
  // Nothing is written for k outside 1..count (in particular for k = 0).
  void SetUserName(int k, std::string_view text);
  void SetUserPassword(int k, std::string_view text);

  std::vector<std::string> UserNames() const;

  // The first slot, in slot order, whose name and password both equal the given texts exactly;
  // 0 when none does.
  int FindLogin(std::string_view name, std::string_view password) const;

 private:
  bool InUse(int k) const { return k >= 1 && k <= count_; }

  std::array<UserRecord, kSlots> slots_{};
  std::uint8_t count_ = 0;
  bool users_unread_ = false;
};

}  // namespace core
