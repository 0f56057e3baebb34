// The dialog in which the administrator adds a user (and the very first user is created).
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class TAdduser : public app::DialogWindow {
 public:
  TAdduser();

  void OKbutClick();
  void CancelbutClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;

 private:
  void ClearPasswords();
};

}  // namespace dialogs
