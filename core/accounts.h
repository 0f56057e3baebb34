// The account rules on the user table: logging in and out, a user's own password and name, and
// the administrator's adding, password setting and removal of users. The dialogs and commands
// turn each outcome into its message; nothing here shows anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/user_table.h"

namespace core {

// True while CurrentUser names a slot in use. After Logout it is 0, which names nobody.
bool HasCurrentUser(const UserTable& users);

// Logs in as the first slot, in slot order, whose name and password both equal the typed texts
// exactly. Returns that slot, or 0 when none matches (the login state is then unchanged).
int LogIn(UserTable& users, std::string_view name, std::string_view password);
void LogOut(UserTable& users);

enum class OwnPasswordResult {
  kChanged,
  kMismatch,     // the confirmation differs or the old password is wrong
  kNotLoggedIn,  // nobody to change: logged out while the dialog was open
};
OwnPasswordResult ChangeOwnPassword(UserTable& users, std::string_view old_password,
                                    std::string_view pass1, std::string_view pass2);

enum class RenameResult {
  kRenamed,
  kReservedName,        // "Administrator" may not be taken
  kAdministratorFixed,  // the administrator keeps his name
  kNotLoggedIn,
};
// Any other name is accepted, an empty one or one another user has too.
RenameResult RenameCurrentUser(UserTable& users, std::string_view new_name);

enum class AddResult {
  kAdded,
  kNoRights,             // the administrator logged out while the dialog was open
  kSecondAdministrator,  // "Administrator" added to a table that has users
  kPasswordsDiffer,
  kTableFull,
};
AddResult AddUser(UserTable& users, std::string_view name, std::string_view pass1,
                  std::string_view pass2);

// The user the administrator picked for a new password, with the list of names as it stood at
// that moment: when the list has changed since, the slot may hold somebody else.
class PickedUser {
 public:
  // Picks list index `list_index` (slot list_index + 1) and sets SelectedUser.
  void Pick(UserTable& users, int list_index);
  // The picked slot still holds the picked user: SelectedUser is unchanged, in use, and the
  // list of names is the one seen when picking.
  bool StillThere(const UserTable& users) const;

 private:
  int slot_ = 0;
  std::vector<std::string> names_;
};

enum class SetPasswordResult {
  kChanged,
  kNoRights,
  kPasswordsDiffer,
  kUserGone,  // the picked user was removed or the list changed since he was picked
};
SetPasswordResult SetPickedPassword(UserTable& users, const PickedUser& picked,
                                    std::string_view pass1, std::string_view pass2);

// "name password is...password" for the user at list index `list_index`.
std::string PasswordDisplayText(const UserTable& users, int list_index);

// What the removal command says before it may ask, for the list index selected (-1: none).
// The refusals come in this order; `nothing_selected` does not stop the later tests.
struct RemovalCheck {
  bool nothing_selected = false;
  bool administrator = false;  // list index 0, slot 1, is never removed
  bool only_user = false;
  bool may_ask = false;  // nothing refused: ask, and remove slot list_index + 1 on Yes
};
RemovalCheck CheckRemoval(const UserTable& users, int list_index);

}  // namespace core
