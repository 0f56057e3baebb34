// The dialog in which the administrator sets the selected user's password.
#pragma once

#include "core/accounts.h"
#include "core/user_table.h"
#include "ui/dialog_window.h"

namespace dialogs {

class Tmakepasschange : public ui::DialogWindow {
 public:
  explicit Tmakepasschange(core::UserTable& users);

  // Remembers the user at this index of the users list as the one whose password is set.
  void PickUser(int list_index);

  void OKbutClick();
  void CancelbutClick();

 protected:
  void FormActivate() override;

 private:
  void ClearFields();

  core::UserTable& users_;
  core::PickedUser picked_;
};

}  // namespace dialogs
