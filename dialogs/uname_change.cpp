#include "dialogs/uname_change.h"

#include "core/accounts.h"
#include "ui/control_ids.h"
#include "ui/message_boxes.h"

namespace dialogs {
namespace {

// An ordinary window: its close box hides it.
constexpr ui::DialogLook kLook = {
    "Tuname_change", "Change current User's name", ui::DialogFrame::kResizable,
    {222, 100},      ui::CloseAction::kHide,       ui::kDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {ui::kNoId, "STATIC", "New user name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_NEW_NAME, "EDIT", "", 106, 8, 95, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_UNAME_OKBUT, "BUTTON", "Change", 40, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_UNAME_CANCELBUT, "BUTTON", "Cancel", 124, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

// "Cancel" hides the dialog.
constexpr ui::Command<Tuname_change> kCommands[] = {
    {IDC_UNAME_OKBUT, &Tuname_change::OKbutClick},
    {IDC_UNAME_CANCELBUT, &Tuname_change::Hide},
};

}  // namespace

Tuname_change::Tuname_change(core::UserTable& users)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)), users_(users) {
  SetEnterKey(IDC_NEW_NAME, IDC_UNAME_OKBUT);
}

// Filled once, at start-up, when nobody is logged in yet; showing the dialog does not refill it.
void Tuname_change::FormCreate() {
  SetControlText(IDC_NEW_NAME, users_.NameOf(users_.CurrentUser));
}

void Tuname_change::OKbutClick() {
  switch (core::RenameCurrentUser(users_, ControlText(IDC_NEW_NAME))) {
    case core::RenameResult::kRenamed:
      ui::ShowPlainMessage("Name has been successfully changed!!");
      SetControlText(IDC_NEW_NAME, "");
      Hide();
      break;
    case core::RenameResult::kReservedName:
      ui::ShowPlainMessage("You can't be the administrator!!");
      break;
    // The dialog stood open while the login changed: logged out, or now the administrator.
    case core::RenameResult::kAdministratorFixed:
      ui::ShowPlainMessage("The administrator's name cannot be changed!!");
      Hide();
      break;
    case core::RenameResult::kNotLoggedIn:
      ui::ShowPlainMessage("You must log in first!!!");
      Hide();
      break;
  }
}

}  // namespace dialogs
