#include "dialogs/enter_form.h"

#include <utility>

#include "core/accounts.h"
#include "ui/control_ids.h"

namespace dialogs {
namespace {

// No system menu, and the close command is ignored: only the two buttons hide the dialog.
constexpr ui::DialogLook kLook = {"TEnter_form",           "Welcome to ZVK korvane Config",
                                  ui::DialogFrame::kFixed, {266, 110},
                                  ui::CloseAction::kNone,  ui::kDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {ui::kNoId, "STATIC", "Enter user name and password", 8, 6, 0, 0, SS_LEFT, 0},
    {ui::kNoId, "STATIC", "User name:", 8, 30, 0, 0, SS_LEFT, 0},
    {IDC_USER_NAME_ENTER, "EDIT", "", 80, 26, 177, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {ui::kNoId, "STATIC", "Password:", 8, 56, 0, 0, SS_LEFT, 0},
    {IDC_USER_PASS_ENTER, "EDIT", "", 80, 52, 177, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_ENTER_OKBUT, "BUTTON", "Ok", 102, 80, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_ENTER_QUIT, "BUTTON", "Cancel", 182, 80, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

// "Cancel" (QuitClick) hides the dialog; the fields keep their contents.
constexpr ui::Command<TEnter_form> kCommands[] = {
    {IDC_ENTER_OKBUT, &TEnter_form::OKbutClick},
    {IDC_ENTER_QUIT, &TEnter_form::Hide},
};

}  // namespace

TEnter_form::TEnter_form(core::UserTable& users, ShowLoginLine show_login_line)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)),
      users_(users),
      show_login_line_(std::move(show_login_line)) {
  SetEnterKey(IDC_USER_PASS_ENTER, IDC_ENTER_OKBUT);
}

void TEnter_form::OKbutClick() {
  const int slot =
      core::LogIn(users_, ControlText(IDC_USER_NAME_ENTER), ControlText(IDC_USER_PASS_ENTER));
  if (slot != 0) {
    ClearControls({IDC_USER_NAME_ENTER, IDC_USER_PASS_ENTER});
    show_login_line_("Current user: " + users_.NameOf(slot));
    Hide();
  }
  // A failed login says nothing: the name stays for another try, the password goes.
  SetControlText(IDC_USER_PASS_ENTER, "");
}

}  // namespace dialogs
