// The entry point: puts the program together, creates its seven windows, runs the message loop
// and ends when Quit or Uninstall says so.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command) {
  // Registers the status bar and tool tip classes; comctl32 4.00 of Windows 95 has no
  // InitCommonControlsEx.
  InitCommonControls();

  // Lives until the process ends: its windows are never destroyed before that.
  static app::Program program;
  if (!program.Start(show_command)) {
    return 1;
  }
  return program.Run();
}
