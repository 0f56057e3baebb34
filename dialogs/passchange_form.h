// The dialog in which the logged-in user changes his own password, knowing the old one.
#pragma once

#include "core/user_table.h"
#include "ui/dialog_window.h"

namespace dialogs {

class Tpasschangeform : public ui::DialogWindow {
 public:
  explicit Tpasschangeform(core::UserTable& users);

  void OKbutClick();

 protected:
  void FormActivate() override;

 private:
  void ClearFields();

  core::UserTable& users_;
};

}  // namespace dialogs
