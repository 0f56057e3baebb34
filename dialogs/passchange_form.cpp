#include "dialogs/passchange_form.h"

#include <iterator>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/message_boxes.h"
#include "core/accounts.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {"Tpasschangeform",
                                   "Change the password",
                                   app::DialogFrame::kFixed,
                                   218,
                                   122,
                                   app::CloseAction::kNone,
                                   "MS Sans Serif",
                                   false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "Old password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_OLDPASS, "EDIT", "", 120, 8, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "New password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS1, "EDIT", "", 120, 34, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {app::kNoId, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS2, "EDIT", "", 120, 60, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_PASSCHANGE_OKBUT, "BUTTON", "Change", 48, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_PASSCHANGE_CANCELBUT, "BUTTON", "Cancel", 134, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

Tpasschangeform::Tpasschangeform() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_PASSCHANGE_PASS2, IDC_PASSCHANGE_OKBUT);
}

void Tpasschangeform::OnCreate() {}

void Tpasschangeform::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_PASSCHANGE_OKBUT:
      OKbutClick();
      break;
    case IDC_PASSCHANGE_CANCELBUT:
      CancelbutClick();
      break;
    default:
      break;
  }
}

void Tpasschangeform::OnActivate() {
  ClearFields();
}

void Tpasschangeform::ClearFields() {
  for (int id : {IDC_OLDPASS, IDC_PASSCHANGE_PASS1, IDC_PASSCHANGE_PASS2}) {
    SetControlText(id, "");
  }
}

void Tpasschangeform::OKbutClick() {
  switch (core::ChangeOwnPassword(app::Users(), ControlText(IDC_OLDPASS),
                                  ControlText(IDC_PASSCHANGE_PASS1),
                                  ControlText(IDC_PASSCHANGE_PASS2))) {
    case core::OwnPasswordResult::kChanged:
      app::ShowPlainMessage("Password successfully changed");
      Hide();
      break;
    case core::OwnPasswordResult::kMismatch:
      app::ShowPlainMessage("Passwords do not match up");
      ClearFields();
      break;
    case core::OwnPasswordResult::kNotLoggedIn:
      // Logged out while the dialog stood open: there is no own password left to change.
      app::ShowPlainMessage("You must log in first!!!");
      ClearFields();
      Hide();
      break;
  }
}

void Tpasschangeform::CancelbutClick() {
  Hide();
}

}  // namespace dialogs
