// The dialog in which the administrator sets the selected user's password.
#pragma once

#include "app/dialog_window.h"
#include "core/accounts.h"

namespace dialogs {

class Tmakepasschange : public app::DialogWindow {
 public:
  Tmakepasschange();

  // Remembers the user at this index of the users list as the one whose password is set.
  void PickUser(int list_index);

  void OKbutClick();
  void CancelbutClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;

 private:
  void ClearFields();

  core::PickedUser picked_;
};

}  // namespace dialogs
