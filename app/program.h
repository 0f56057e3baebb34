// The one place the program is put together: made in WinMain, it owns the user table, the
// databank file, the file system, the registry, the shell and the seven windows of the run, and
// hands each window what it uses.
#pragma once

#include <memory>

#include "app/main_window.h"
#include "core/databank_file.h"
#include "core/user_table.h"
#include "dialogs/about.h"
#include "dialogs/adduser.h"
#include "dialogs/enter_form.h"
#include "dialogs/makepasschange.h"
#include "dialogs/passchange_form.h"
#include "dialogs/uname_change.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "ui/message_boxes.h"

namespace app {

class Program {
 public:
  Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Creates the seven windows, the main window first (its creation loads the databank), and
  // shows the main window. False when the main window cannot be created.
  bool Start(int show_command);
  // Runs the message loop until Quit or Uninstall ends the run; returns the exit code.
  int Run();

 private:
  // Made in this order: the windows last, as they hold on to the rest.
  core::UserTable users_;
  std::unique_ptr<platform::FileSystem> files_ = platform::MakeWin32FileSystem();
  platform::Win32Registry registry_;
  platform::Win32Shell shell_;
  ui::MessageBoxSink messages_;
  core::DatabankFile databank_;

  dialogs::Tpasschangeform passchangeform_;
  dialogs::TAdduser adduser_;
  dialogs::TEnter_form enter_form_;
  dialogs::Tabout about_;
  dialogs::Tuname_change uname_change_;
  dialogs::Tmakepasschange makepasschange_;
  Tmain main_;
};

}  // namespace app
