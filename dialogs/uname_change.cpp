#include "dialogs/uname_change.h"

#include <iterator>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/message_boxes.h"
#include "core/accounts.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {"Tuname_change",
                                   "Change current User's name",
                                   app::DialogFrame::kResizable,
                                   222,
                                   100,
                                   app::CloseAction::kHide,
                                   "MS Sans Serif",
                                   false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "New user name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_NEW_NAME, "EDIT", "", 106, 8, 95, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_UNAME_OKBUT, "BUTTON", "Change", 40, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_UNAME_CANCELBUT, "BUTTON", "Cancel", 124, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

Tuname_change::Tuname_change() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_NEW_NAME, IDC_UNAME_OKBUT);
}

// Filled once, at start-up, when nobody is logged in yet; showing the dialog does not refill it.
void Tuname_change::OnCreate() {
  const core::UserTable& users = app::Users();
  SetControlText(IDC_NEW_NAME, users.NameOf(users.CurrentUser));
}

void Tuname_change::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_UNAME_OKBUT:
      OKbutClick();
      break;
    case IDC_UNAME_CANCELBUT:
      CancelbutClick();
      break;
    default:
      break;
  }
}

void Tuname_change::OnActivate() {}

void Tuname_change::OKbutClick() {
  switch (core::RenameCurrentUser(app::Users(), ControlText(IDC_NEW_NAME))) {
    case core::RenameResult::kRenamed:
      app::ShowPlainMessage("Name has been successfully changed!!");
      SetControlText(IDC_NEW_NAME, "");
      Hide();
      break;
    case core::RenameResult::kReservedName:
      app::ShowPlainMessage("You can't be the administrator!!");
      break;
    // The dialog stood open while the login changed: logged out, or now the administrator.
    case core::RenameResult::kAdministratorFixed:
      app::ShowPlainMessage("The administrator's name cannot be changed!!");
      Hide();
      break;
    case core::RenameResult::kNotLoggedIn:
      app::ShowPlainMessage("You must log in first!!!");
      Hide();
      break;
  }
}

void Tuname_change::CancelbutClick() {
  Hide();
}

}  // namespace dialogs
