// The dialog in which the logged-in user changes his own password, knowing the old one.
#pragma once

#include "app/dialog_window.h"

namespace dialogs {

class Tpasschangeform : public app::DialogWindow {
 public:
  Tpasschangeform();

  void OKbutClick();
  void CancelbutClick();

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code) override;
  void OnActivate() override;

 private:
  void ClearFields();
};

}  // namespace dialogs
