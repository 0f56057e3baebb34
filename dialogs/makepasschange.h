// The dialog in which the administrator sets the selected user's password.
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class Tmakepasschange : public app::DialogWindow {
 public:
  Tmakepasschange();

  void OKbutClick();
  void CancelbutClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;
};

}  // namespace dialogs
