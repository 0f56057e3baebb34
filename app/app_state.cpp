#include "app/app_state.h"

#include "app/main_window.h"
#include "app/message_boxes.h"
#include "dialogs/about.h"
#include "dialogs/adduser.h"
#include "dialogs/enter_form.h"
#include "dialogs/makepasschange.h"
#include "dialogs/passchange_form.h"
#include "dialogs/uname_change.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"

namespace app {

// Function-local statics: each is made on first use, in dependency order.
core::UserTable& Users() {
  static core::UserTable users;
  return users;
}

platform::FileSystem& Files() {
  static platform::Win32FileSystem files;
  return files;
}

platform::Shell& Shell() {
  static platform::Win32Shell shell;
  return shell;
}

core::DatabankFile& Databank() {
  static core::DatabankFile databank(Files(), Users());
  return databank;
}

core::MessageSink& Messages() {
  static MessageBoxSink sink;
  return sink;
}

Tmain& MainForm() {
  static Tmain main;
  return main;
}

dialogs::Tpasschangeform& PasschangeForm() {
  static dialogs::Tpasschangeform form;
  return form;
}

dialogs::TAdduser& AdduserForm() {
  static dialogs::TAdduser form;
  return form;
}

dialogs::TEnter_form& EnterForm() {
  static dialogs::TEnter_form form;
  return form;
}

dialogs::Tabout& AboutBox() {
  static dialogs::Tabout form;
  return form;
}

dialogs::Tuname_change& UnameChangeForm() {
  static dialogs::Tuname_change form;
  return form;
}

dialogs::Tmakepasschange& MakepasschangeForm() {
  static dialogs::Tmakepasschange form;
  return form;
}

}  // namespace app
