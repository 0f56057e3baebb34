#include "dialogs/makepasschange.h"

#include <iterator>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/message_boxes.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {"Tmakepasschange",
                                   "Change a users password",
                                   app::DialogFrame::kResizable,
                                   251,
                                   127,
                                   app::CloseAction::kHide,
                                   "MS Sans Serif",
                                   false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "New password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS1, "EDIT", "", 120, 8, 105, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "Confirm password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS2, "EDIT", "", 120, 34, 105, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_MAKEPASS_OKBUT, "BUTTON", "Change", 64, 64, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_MAKEPASS_CANCELBUT, "BUTTON", "Cancel", 150, 64, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

constexpr char kUserGoneMessage[] =
    "The list of users has changed since the user was selected. Select the user again.";

}  // namespace

Tmakepasschange::Tmakepasschange() : DialogWindow(kLook, kControls, std::size(kControls)) {}

void Tmakepasschange::OnCreate() {}

void Tmakepasschange::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_MAKEPASS_OKBUT:
      OKbutClick();
      break;
    case IDC_MAKEPASS_CANCELBUT:
      CancelbutClick();
      break;
    default:
      break;
  }
}

void Tmakepasschange::PickUser(int list_index) {
  picked_.Pick(app::Users(), list_index);
}

void Tmakepasschange::OnActivate() {
  ClearFields();
}

void Tmakepasschange::ClearFields() {
  SetControlText(IDC_MAKEPASS_PASS1, "");
  SetControlText(IDC_MAKEPASS_PASS2, "");
}

void Tmakepasschange::OKbutClick() {
  switch (core::SetPickedPassword(app::Users(), picked_, ControlText(IDC_MAKEPASS_PASS1),
                                  ControlText(IDC_MAKEPASS_PASS2))) {
    case core::SetPasswordResult::kChanged:
      Hide();
      app::ShowPlainMessage("Passwords changed successfully");
      break;
    case core::SetPasswordResult::kPasswordsDiffer:
      app::ShowPlainMessage("Passwords do not match");
      ClearFields();
      break;
    case core::SetPasswordResult::kUserGone:
      // The list changed while the dialog stood open: the slot may hold somebody else now.
      app::ShowPlainMessage(kUserGoneMessage);
      ClearFields();
      Hide();
      break;
    case core::SetPasswordResult::kNoRights:
      ClearFields();
      Hide();
      break;
  }
}

void Tmakepasschange::CancelbutClick() {
  ClearFields();
  Hide();
}

}  // namespace dialogs
