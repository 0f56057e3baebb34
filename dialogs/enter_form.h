// The login dialog: a user name and password, looked up in the user table.
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class TEnter_form : public app::DialogWindow {
 public:
  TEnter_form();

  void OKbutClick();
  void QuitClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;
};

}  // namespace dialogs
