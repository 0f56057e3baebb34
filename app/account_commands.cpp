// The user functions (rename, own password, login, logout) and the administrator's user management.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "core/accounts.h"
#include "dialogs/adduser.h"
#include "dialogs/enter_form.h"
#include "dialogs/makepasschange.h"
#include "dialogs/passchange_form.h"
#include "dialogs/uname_change.h"

namespace app {
namespace {

constexpr char kSelectFirst[] = "Select a user first!!";

// The selected entry of users_box; -1 when none is.
int SelectedListIndex() {
  const LRESULT index = SendMessageA(MainForm().users_box(), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace

void Tmain::namechangeClick() {
  const core::UserTable& users = Users();
  if (users.LoggedIn != 1) {
    ShowPlainMessage("You must log in first!!!");
  } else if (users.NameOf(users.CurrentUser) == core::kAdministratorName) {
    ShowPlainMessage("The administrator's name cannot be changed!!");
  } else {
    UnameChangeForm().Show();
  }
}

void Tmain::change_passwordClick() {
  if (Users().LoggedIn == 1) {
    PasschangeForm().Show();
  } else {
    ShowPlainMessage("No user selected");
  }
}

void Tmain::LoginClick() {
  if (Users().Count() != 0) {
    EnterForm().Show();
  } else {
    ShowPlainMessage("You must first create a user profile!!!");
  }
}

// Status panel 2 keeps the old name until the window is next activated.
void Tmain::Button3Click() {
  core::LogOut(Users());
  ShowAdminBox(false);
}

void Tmain::add_user_butClick() {
  const core::UserTable& users = Users();
  if (!users.HasAdminRights()) {
    return;
  }
  if (users.LoggedIn != 1 && users.Count() != 0) {
    ShowPlainMessage("No user selected");
  } else {
    AdduserForm().Show();
  }
}

void Tmain::showpassClick() {
  if (!Users().HasAdminRights()) {
    return;
  }
  const int index = SelectedListIndex();
  if (index < 0) {
    ShowPlainMessage(kSelectFirst);
  } else {
    ShowPlainMessage(core::PasswordDisplayText(Users(), index));
  }
}

void Tmain::forcepasschangeClick() {
  if (!Users().HasAdminRights()) {
    return;
  }
  const int index = SelectedListIndex();
  if (index < 0) {
    ShowPlainMessage(kSelectFirst);
    return;
  }
  MakepasschangeForm().PickUser(index);
  MakepasschangeForm().Show();
}

void Tmain::kick_userClick() {
  core::UserTable& users = Users();
  if (!users.HasAdminRights()) {
    return;
  }
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
