#include "dialogs/adduser.h"

#include <iterator>

#include "app/control_ids.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {
    "TAdduser", "Add a user to the databank", app::DialogFrame::kFixed, 216,
    122,        app::CloseAction::kNone,      "MS Sans Serif",          false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "User name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_UNAME, "EDIT", "", 104, 8, 103, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "User password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS1, "EDIT", "", 104, 34, 103, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS2, "EDIT", "", 104, 60, 103, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_ADDUSER_OKBUT, "BUTTON", "Add", 46, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_ADDUSER_CANCELBUT, "BUTTON", "Cancel", 132, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

TAdduser::TAdduser() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_ADDUSER_PASS2, IDC_ADDUSER_OKBUT);
}

void TAdduser::OnCreate() {}

void TAdduser::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) return;
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

void TAdduser::OnActivate() {}

void TAdduser::OKbutClick() {}

void TAdduser::CancelbutClick() {}

}  // namespace dialogs
