// The entry point: creates the seven windows of the run (the main window first, whose creation
// loads the databank), runs the message loop and ends when Quit or Uninstall says so.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "dialogs/about.h"
#include "dialogs/adduser.h"
#include "dialogs/enter_form.h"
#include "dialogs/makepasschange.h"
#include "dialogs/passchange_form.h"
#include "dialogs/uname_change.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  app::Tmain& main_window = app::MainForm();
  if (!main_window.Create()) {
    return 1;
  }
  HWND owner = main_window.hwnd();
  app::DialogWindow* const dialogs[] = {
      &app::PasschangeForm(), &app::AdduserForm(),     &app::EnterForm(),
      &app::AboutBox(),       &app::UnameChangeForm(), &app::MakepasschangeForm(),
  };
  for (app::DialogWindow* dialog : dialogs) {
    dialog->Create(owner);
  }
  main_window.Show(show_command);

  // Every window gets IsDialogMessage, so Tab, Enter and Esc work as in any dialog.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    bool handled = IsDialogMessageA(owner, &message) != FALSE;
    for (app::DialogWindow* dialog : dialogs) {
      if (handled) {
        break;
      }
      handled = IsDialogMessageA(dialog->hwnd(), &message) != FALSE;
    }
    if (handled) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
