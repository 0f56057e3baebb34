#include "app/program.h"

#include <iterator>

namespace app {

Program::Program()
    : databank_(*files_, users_),
      passchangeform_(users_),
      adduser_(users_),
      enter_form_(users_, [this](const std::string& line) { main_.SetStatusPanel(2, line); }),
      about_(shell_),
      uname_change_(users_),
      makepasschange_(users_),
      main_(MainWindowParts{users_, databank_, *files_, registry_, shell_, messages_,
                            passchangeform_, adduser_, enter_form_, about_, uname_change_,
                            makepasschange_}) {}

bool Program::Start(int show_command) {
  if (!main_.Create()) {
    return false;
  }
  // In the order of the tool's window list, each owned by the main window so that hiding it
  // gives the focus back there.
  ui::DialogWindow* const dialogs[] = {&passchangeform_, &adduser_,      &enter_form_,
                                       &about_,          &uname_change_, &makepasschange_};
  for (ui::DialogWindow* dialog : dialogs) {
    dialog->Create(main_.hwnd());
  }
  main_.Show(show_command);
  return true;
}

int Program::Run() {
  // Every window gets IsDialogMessage, so Tab, Enter and Esc work as in any dialog.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    bool handled = false;
    for (HWND window : ui::WindowBase::ToolWindows()) {
      if (IsDialogMessageA(window, &message)) {
        handled = true;
        break;
      }
    }
    if (handled) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace app
