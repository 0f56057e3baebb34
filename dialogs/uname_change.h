// The dialog in which the logged-in user changes his own name.
#pragma once

#include "core/user_table.h"
#include "ui/dialog_window.h"

namespace dialogs {

class Tuname_change : public ui::DialogWindow {
 public:
  explicit Tuname_change(core::UserTable& users);

  void OKbutClick();

 protected:
  void FormCreate() override;

 private:
  core::UserTable& users_;
};

}  // namespace dialogs
