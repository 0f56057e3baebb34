#include "dialogs/enter_form.h"

#include <iterator>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/main_window.h"
#include "core/accounts.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {
    "TEnter_form", "Welcome to ZVK korvane Config", app::DialogFrame::kFixed, 266,
    110,           app::CloseAction::kNone,         "MS Sans Serif",          false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "Enter user name and password", 8, 6, 0, 0, SS_LEFT, 0},
    {app::kNoId, "STATIC", "User name:", 8, 30, 0, 0, SS_LEFT, 0},
    {IDC_USER_NAME_ENTER, "EDIT", "", 80, 26, 177, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {app::kNoId, "STATIC", "Password:", 8, 56, 0, 0, SS_LEFT, 0},
    {IDC_USER_PASS_ENTER, "EDIT", "", 80, 52, 177, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_ENTER_OKBUT, "BUTTON", "Ok", 102, 80, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_ENTER_QUIT, "BUTTON", "Cancel", 182, 80, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

TEnter_form::TEnter_form() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_USER_PASS_ENTER, IDC_ENTER_OKBUT);
}

void TEnter_form::OnCreate() {}

void TEnter_form::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_ENTER_OKBUT:
      OKbutClick();
      break;
    case IDC_ENTER_QUIT:
      QuitClick();
      break;
    default:
      break;
  }
}

void TEnter_form::OnActivate() {}

void TEnter_form::OKbutClick() {
  core::UserTable& users = app::Users();
  const int slot =
      core::LogIn(users, ControlText(IDC_USER_NAME_ENTER), ControlText(IDC_USER_PASS_ENTER));
  if (slot != 0) {
    SetControlText(IDC_USER_NAME_ENTER, "");
    SetControlText(IDC_USER_PASS_ENTER, "");
    app::MainForm().SetStatusPanel(2, "Current user: " + users.NameOf(slot));
    Hide();
  }
  // A failed login says nothing: the name stays for another try, the password goes.
  SetControlText(IDC_USER_PASS_ENTER, "");
}

void TEnter_form::QuitClick() {
  Hide();
}

}  // namespace dialogs
