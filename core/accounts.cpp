#include "core/accounts.h"

namespace core {

bool HasCurrentUser(const UserTable& users) {
  return users.CurrentUser >= 1 && users.CurrentUser <= users.Count();
}

int LogIn(UserTable& users, std::string_view name, std::string_view password) {
  // The search ends at the first match: a later slot with an empty name and password must not
  // take over once the typed texts are cleared.
  const int slot = users.FindLogin(name, password);
  if (slot == 0) {
    return 0;
  }
  users.CurrentUser = static_cast<std::uint8_t>(slot);
  users.LoggedIn = 1;
  return slot;
}

void LogOut(UserTable& users) {
  users.LoggedIn = 0;
  users.CurrentUser = 0;
}

OwnPasswordResult ChangeOwnPassword(UserTable& users, std::string_view old_password,
                                    std::string_view pass1, std::string_view pass2) {
  if (!HasCurrentUser(users)) {
    return OwnPasswordResult::kNotLoggedIn;
  }
  if (pass1 != pass2 || old_password != users.PasswordOf(users.CurrentUser)) {
    return OwnPasswordResult::kMismatch;
  }
  users.SetUserPassword(users.CurrentUser, pass1);
  return OwnPasswordResult::kChanged;
}

RenameResult RenameCurrentUser(UserTable& users, std::string_view new_name) {
  if (!HasCurrentUser(users)) {
    return RenameResult::kNotLoggedIn;
  }
  // The dialog may have been opened by another user before the administrator logged in.
  if (users.NameOf(users.CurrentUser) == kAdministratorName) {
    return RenameResult::kAdministratorFixed;
  }
  if (new_name == kAdministratorName) {
    return RenameResult::kReservedName;
  }
  users.SetUserName(users.CurrentUser, new_name);
  return RenameResult::kRenamed;
}

AddResult AddUser(UserTable& users, std::string_view name, std::string_view pass1,
                  std::string_view pass2) {
  if (!users.HasAdminRights()) {
    return AddResult::kNoRights;
  }
  if (name == kAdministratorName && users.Count() != 0) {
    return AddResult::kSecondAdministrator;
  }
  if (pass1 != pass2) {
    return AddResult::kPasswordsDiffer;
  }
  if (!users.AppendUser(name, pass1)) {
    return AddResult::kTableFull;
  }
  return AddResult::kAdded;
}

void PickedUser::Pick(UserTable& users, int list_index) {
  slot_ = list_index + 1;
  users.SelectedUser = static_cast<std::uint8_t>(slot_);
  names_ = users.UserNames();
}

bool PickedUser::StillThere(const UserTable& users) const {
  return slot_ >= 1 && slot_ <= users.Count() && users.SelectedUser == slot_ &&
         users.UserNames() == names_;
}

SetPasswordResult SetPickedPassword(UserTable& users, const PickedUser& picked,
                                    std::string_view pass1, std::string_view pass2) {
  if (!users.HasAdminRights()) {
    return SetPasswordResult::kNoRights;
  }
  if (pass1 != pass2) {
    return SetPasswordResult::kPasswordsDiffer;
  }
  if (!picked.StillThere(users)) {
    return SetPasswordResult::kUserGone;
  }
  users.SetUserPassword(users.SelectedUser, pass1);
  return SetPasswordResult::kChanged;
}

std::string PasswordDisplayText(const UserTable& users, int list_index) {
  return users.NameOf(list_index + 1) + " password is..." + users.PasswordOf(list_index + 1);
}

RemovalCheck CheckRemoval(const UserTable& users, int list_index) {
  RemovalCheck check;
  // An index past the users is a stale list entry: nobody to remove there.
  const bool selected = list_index >= 0 && list_index < users.Count();
  check.nothing_selected = !selected;
  if (selected && list_index == 0) {
    check.administrator = true;
  } else if (users.Count() == 1) {
    check.only_user = true;
  } else {
    check.may_ask = selected;
  }
  return check;
}

}  // namespace core
