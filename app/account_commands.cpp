// The user functions (rename, own password, login, logout) and the administrator's user management.
// The administrator's commands here are bound with the rights test (main_window.cpp), so they
// run only while HasAdminRights() holds.
#include "app/main_window.h"
#include "core/accounts.h"
#include "dialogs/adduser.h"
#include "dialogs/enter_form.h"
#include "dialogs/makepasschange.h"
#include "dialogs/passchange_form.h"
#include "dialogs/uname_change.h"
#include "ui/message_boxes.h"

namespace app {
namespace {

using ui::AskConfirm;
using ui::ShowPlainMessage;

constexpr char kSelectFirst[] = "Select a user first!!";

}  // namespace

int Tmain::SelectedListIndex() const {
  const LRESULT index = SendMessageA(users_box(), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Tmain::namechangeClick() {
  const core::UserTable& users = parts_.users;
  if (users.LoggedIn != 1) {
    ShowPlainMessage("You must log in first!!!");
  } else if (users.NameOf(users.CurrentUser) == core::kAdministratorName) {
    ShowPlainMessage("The administrator's name cannot be changed!!");
  } else {
    parts_.uname_change.Show();
  }
}

void Tmain::change_passwordClick() {
  if (parts_.users.LoggedIn == 1) {
    parts_.passchangeform.Show();
  } else {
    ShowPlainMessage("No user selected");
  }
}

void Tmain::LoginClick() {
  if (parts_.users.Count() != 0) {
    parts_.enter_form.Show();
  } else {
    ShowPlainMessage("You must first create a user profile!!!");
  }
}

// Status panel 2 keeps the old name until the window is next activated.
void Tmain::Button3Click() {
  core::LogOut(parts_.users);
  ShowAdminBox(false);
}

void Tmain::add_user_butClick() {
  const core::UserTable& users = parts_.users;
  if (users.LoggedIn != 1 && users.Count() != 0) {
    ShowPlainMessage("No user selected");
  } else {
    parts_.adduser.Show();
  }
}

void Tmain::showpassClick() {
  const int index = SelectedListIndex();
  if (index < 0) {
    ShowPlainMessage(kSelectFirst);
  } else {
    ShowPlainMessage(core::PasswordDisplayText(parts_.users, index));
  }
}

void Tmain::forcepasschangeClick() {
  const int index = SelectedListIndex();
  if (index < 0) {
    ShowPlainMessage(kSelectFirst);
    return;
  }
  parts_.makepasschange.PickUser(index);
  parts_.makepasschange.Show();
}

void Tmain::kick_userClick() {
  core::UserTable& users = parts_.users;
  const int index = SelectedListIndex();
  const core::RemovalCheck check = core::CheckRemoval(users, index);
  if (check.nothing_selected) {
    ShowPlainMessage("You must select a user first!!");
  }
  if (check.administrator) {
    ShowPlainMessage("You can't remove the Administrator!!");
  }
  if (check.only_user) {
    ShowPlainMessage("You can't remove the only user");
  }
  if (!check.may_ask || !AskConfirm("Are you sure you want to remove this user??")) {
    return;
  }
  users.RemoveUserAt(index + 1);
  FillUsersBox();
  ShowPlainMessage("User has been deleted");
}

}  // namespace app
