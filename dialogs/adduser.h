// The dialog in which the administrator adds a user (and the very first user is created).
#pragma once

#include "core/user_table.h"
#include "ui/dialog_window.h"

namespace dialogs {

class TAdduser : public ui::DialogWindow {
 public:
  explicit TAdduser(core::UserTable& users);

  void OKbutClick();

 protected:
  void FormActivate() override;

 private:
  core::UserTable& users_;
};

}  // namespace dialogs
