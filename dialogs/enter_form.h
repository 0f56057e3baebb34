// The login dialog: a user name and password, looked up in the user table.
#pragma once

#include <functional>
#include <string>

#include "core/user_table.h"
#include "ui/dialog_window.h"

namespace dialogs {

class TEnter_form : public ui::DialogWindow {
 public:
  // Writes "Current user: " and the name into the main window's status bar.
  using ShowLoginLine = std::function<void(const std::string& line)>;

  TEnter_form(core::UserTable& users, ShowLoginLine show_login_line);

  void OKbutClick();

 private:
  core::UserTable& users_;
  ShowLoginLine show_login_line_;
};

}  // namespace dialogs
