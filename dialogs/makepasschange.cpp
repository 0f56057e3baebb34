#include "dialogs/makepasschange.h"

#include "ui/control_ids.h"
#include "ui/outcome_table.h"

namespace dialogs {
namespace {

// An ordinary window: its close box hides it.
constexpr ui::DialogLook kLook = {"Tmakepasschange",           "Change a users password",
                                  ui::DialogFrame::kResizable, {251, 127},
                                  ui::CloseAction::kHide,      ui::kDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {ui::kNoId, "STATIC", "New password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS1, "EDIT", "", 120, 8, 105, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {ui::kNoId, "STATIC", "Confirm password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_MAKEPASS_PASS2, "EDIT", "", 120, 34, 105, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_MAKEPASS_OKBUT, "BUTTON", "Change", 64, 64, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_MAKEPASS_CANCELBUT, "BUTTON", "Cancel", 150, 64, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

constexpr ui::Command<Tmakepasschange> kCommands[] = {
    {IDC_MAKEPASS_OKBUT, &Tmakepasschange::OKbutClick},
    {IDC_MAKEPASS_CANCELBUT, &Tmakepasschange::CancelbutClick},
};

// A change that succeeds hides the dialog before it says so. When the list changed while the
// dialog stood open, the slot may hold somebody else now: the user is picked again.
constexpr ui::OutcomeRow<core::SetPasswordResult> kOutcomes[] = {
    {core::SetPasswordResult::kChanged,
     "Passwords changed successfully",
     {},
     ui::Hiding::kBeforeMessage},
    {core::SetPasswordResult::kNoRights,
     nullptr,
     {IDC_MAKEPASS_PASS1, IDC_MAKEPASS_PASS2},
     ui::Hiding::kAfterMessage},
    {core::SetPasswordResult::kPasswordsDiffer,
     "Passwords do not match",
     {IDC_MAKEPASS_PASS1, IDC_MAKEPASS_PASS2},
     ui::Hiding::kStays},
    {core::SetPasswordResult::kUserGone,
     "The list of users has changed since the user was selected. Select the user again.",
     {IDC_MAKEPASS_PASS1, IDC_MAKEPASS_PASS2},
     ui::Hiding::kAfterMessage},
};
static_assert(ui::CoversEveryOutcome(kOutcomes, core::SetPasswordResult::kUserGone));

}  // namespace

// No Enter-key shortcut.
Tmakepasschange::Tmakepasschange(core::UserTable& users)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)), users_(users) {}

void Tmakepasschange::PickUser(int list_index) {
  picked_.Pick(users_, list_index);
}

void Tmakepasschange::FormActivate() {
  ClearFields();
}

void Tmakepasschange::ClearFields() {
  ClearControls({IDC_MAKEPASS_PASS1, IDC_MAKEPASS_PASS2});
}

void Tmakepasschange::OKbutClick() {
  Conclude(kOutcomes, core::SetPickedPassword(users_, picked_, ControlText(IDC_MAKEPASS_PASS1),
                                              ControlText(IDC_MAKEPASS_PASS2)));
}

void Tmakepasschange::CancelbutClick() {
  ClearFields();
  Hide();
}

}  // namespace dialogs
