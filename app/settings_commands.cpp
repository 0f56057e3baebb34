// The autostart and Cancel buttons, which write Korvane's registry settings, and Uninstall.
// The registry steps themselves are in core/product_settings; here are the rights tests, the
// questions, the file dialog and the messages. Every handler here is bound with the rights test
// (main_window.cpp) and runs inside the command runner, so a refused registry write ends in the
// error box.
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/databank_file.h"
#include "core/product_settings.h"
#include "core/user_table.h"
#include "ui/message_boxes.h"

namespace app {
namespace {

using ui::AskConfirm;
using ui::ShowPlainMessage;

constexpr char kProposedExecutable[] = "Korvane.exe";
// Pairs of description and pattern, each NUL-terminated, the list ending in one more NUL.
constexpr char kExecutableFilter[] = "Executable files\0*.exe\0";
// GetOpenFileNameA takes the default extension without "*." and appends it with its own dot
// to a typed name without extension; "*.exe" would give "Korvane.*.exe".
constexpr char kDefaultExtension[] = "exe";

// Runs the open-file dialog proposing `proposed`; the chosen full path, or "" when the dialog
// was cancelled.
std::string ChooseExecutable(HWND owner, const std::string& proposed) {
  std::vector<char> name(32768, '\0');
  proposed.copy(name.data(), name.size() - 1);
  OPENFILENAMEA dialog{};
  // The Windows 95 size: 95 and 98 refuse the larger one, whose extra fields are not used.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kExecutableFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrTitle = "Choose ZVK Korvane executable file";
  dialog.lpstrDefExt = kDefaultExtension;
  dialog.Flags = OFN_HIDEREADONLY | OFN_SHAREAWARE;
  if (!GetOpenFileNameA(&dialog)) {
    return "";
  }
  return std::string(name.data());
}

void SetCancelAndTell(platform::Registry& registry, bool enabled) {
  // Without the protection program's key nothing is written, and the message comes all the same.
  core::SetCancel(registry, enabled);
  ShowPlainMessage(enabled ? "Cancel enabled in Korvane" : "Cancel disabled in Korvane");
}

}  // namespace

void Tmain::turn_on_autostartClick() {
  platform::Registry& registry = parts_.registry;
  if (!core::OpenAutostartKey(registry)) {
    return;
  }
  ShowPlainMessage("Please choose the location of Korvane!");
  // The dialog proposes the path chosen last, the first time "Korvane.exe".
  const std::string& last = executable_path();
  const std::string chosen = ChooseExecutable(hwnd(), last.empty() ? kProposedExecutable : last);
  if (chosen.empty()) {
    return;
  }
  executable_path() = chosen;
  core::EnableAutostart(registry, chosen);
  ShowPlainMessage("Autostart enabled!");
}

void Tmain::Button2Click() {
  if (!AskConfirm("Are you sure you wish disable autostart of the program, NOT recommended!!")) {
    return;
  }
  core::DisableAutostart(parts_.registry);
}

void Tmain::canceldisableClick() {
  SetCancelAndTell(parts_.registry, false);
}

void Tmain::cancelenableClick() {
  SetCancelAndTell(parts_.registry, true);
}

void Tmain::uninstallClick() {
  core::UserTable& users = parts_.users;
  if (!AskConfirm("Are you sure you wish to uninstall this program!!")) {
    return;
  }
  const int count = users.Count();
  const std::uint8_t current = users.CurrentUser;
  users.SetCount(0);
  users.CurrentUser = 0;
  try {
    parts_.databank.DeleteDatabank();
  } catch (...) {
    // The file is kept, so the table goes back to what the file holds; a later Quit must not
    // overwrite the databank with an empty one.
    users.SetCount(count);
    users.CurrentUser = current;
    throw;
  }
  // Bring the window up to date after the question box, then end the run; the registry steps
  // still follow before the loop sees WM_QUIT. Nothing is saved and no closing message shows,
  // not even for a close or Quit still queued behind this click.
  UpdateWindow(hwnd());
  EndRun();
  core::RemoveProductSettings(parts_.registry);
}

}  // namespace app
