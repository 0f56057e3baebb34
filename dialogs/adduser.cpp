#include "dialogs/adduser.h"

#include <iterator>
#include <string>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/message_boxes.h"
#include "core/accounts.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {
    "TAdduser", "Add a user to the databank", app::DialogFrame::kFixed, 216,
    122,        app::CloseAction::kNone,      "MS Sans Serif",          false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "User name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_UNAME, "EDIT", "", 120, 8, 87, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "User password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS1, "EDIT", "", 120, 34, 87, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS2, "EDIT", "", 120, 60, 87, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_ADDUSER_OKBUT, "BUTTON", "Add", 46, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_ADDUSER_CANCELBUT, "BUTTON", "Cancel", 132, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

constexpr char kTableFullMessage[] =
    "The databank is full: it holds no more than 255 users. Remove a user first.";

}  // namespace

TAdduser::TAdduser() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_ADDUSER_PASS2, IDC_ADDUSER_OKBUT);
}

void TAdduser::OnCreate() {}

void TAdduser::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_ADDUSER_OKBUT:
      OKbutClick();
      break;
    case IDC_ADDUSER_CANCELBUT:
      CancelbutClick();
      break;
    default:
      break;
  }
}

// An empty table gets its administrator first: the name is fixed then.
void TAdduser::OnActivate() {
  SetControlText(IDC_UNAME, "");
  const bool first_user = app::Users().Count() == 0;
  SendMessageA(Control(IDC_UNAME), EM_SETREADONLY, first_user ? TRUE : FALSE, 0);
  if (!first_user) {
    return;
  }
  SetControlText(IDC_UNAME, std::string(core::kAdministratorName));
  app::ShowPlainMessage("As you are the first user, you need to configure your settings.");
}

void TAdduser::ClearPasswords() {
  SetControlText(IDC_ADDUSER_PASS1, "");
  SetControlText(IDC_ADDUSER_PASS2, "");
}

void TAdduser::OKbutClick() {
  switch (core::AddUser(app::Users(), ControlText(IDC_UNAME), ControlText(IDC_ADDUSER_PASS1),
                        ControlText(IDC_ADDUSER_PASS2))) {
    case core::AddResult::kAdded:
      app::ShowPlainMessage("User successfully added");
      ClearPasswords();
      SetControlText(IDC_UNAME, "");
      Hide();
      break;
    case core::AddResult::kSecondAdministrator:
      app::ShowPlainMessage("There can only be one administrator!!!");
      break;
    case core::AddResult::kPasswordsDiffer:
      app::ShowPlainMessage("Passwords do not match");
      ClearPasswords();
      break;
    case core::AddResult::kTableFull:
      app::ShowPlainMessage(kTableFullMessage);
      break;
    case core::AddResult::kNoRights:
      // The administrator logged out while the dialog stood open; like every administrator
      // command reached by somebody else, it ends without a word.
      ClearPasswords();
      Hide();
      break;
  }
}

void TAdduser::CancelbutClick() {
  Hide();
}

}  // namespace dialogs
