// The dialog in which the logged-in user changes his own name.
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class Tuname_change : public app::DialogWindow {
 public:
  Tuname_change();

  void OKbutClick();
  void CancelbutClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;
};

}  // namespace dialogs
