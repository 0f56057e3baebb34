#include "dialogs/passchange_form.h"

#include "core/accounts.h"
#include "ui/control_ids.h"
#include "ui/outcome_table.h"

namespace dialogs {
namespace {

// No system menu, and the close command is ignored: only the two buttons hide the dialog.
constexpr ui::DialogLook kLook = {"Tpasschangeform",       "Change the password",
                                  ui::DialogFrame::kFixed, {218, 122},
                                  ui::CloseAction::kNone,  ui::kDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {ui::kNoId, "STATIC", "Old password:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_OLDPASS, "EDIT", "", 120, 8, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {ui::kNoId, "STATIC", "New password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS1, "EDIT", "", 120, 34, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {ui::kNoId, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_PASSCHANGE_PASS2, "EDIT", "", 120, 60, 89, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     0},
    {IDC_PASSCHANGE_OKBUT, "BUTTON", "Change", 48, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_PASSCHANGE_CANCELBUT, "BUTTON", "Cancel", 134, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

// "Cancel" hides the dialog.
constexpr ui::Command<Tpasschangeform> kCommands[] = {
    {IDC_PASSCHANGE_OKBUT, &Tpasschangeform::OKbutClick},
    {IDC_PASSCHANGE_CANCELBUT, &Tpasschangeform::Hide},
};

// Logged out while the dialog stood open: there is no own password left to change.
constexpr ui::OutcomeRow<core::OwnPasswordResult> kOutcomes[] = {
    {core::OwnPasswordResult::kChanged,
     "Password successfully changed",
     {},
     ui::Hiding::kAfterMessage},
    {core::OwnPasswordResult::kMismatch,
     "Passwords do not match up",
     {IDC_OLDPASS, IDC_PASSCHANGE_PASS1, IDC_PASSCHANGE_PASS2},
     ui::Hiding::kStays},
    {core::OwnPasswordResult::kNotLoggedIn,
     "You must log in first!!!",
     {IDC_OLDPASS, IDC_PASSCHANGE_PASS1, IDC_PASSCHANGE_PASS2},
     ui::Hiding::kAfterMessage},
};
static_assert(ui::CoversEveryOutcome(kOutcomes, core::OwnPasswordResult::kNotLoggedIn));

}  // namespace

Tpasschangeform::Tpasschangeform(core::UserTable& users)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)), users_(users) {
  SetEnterKey(IDC_PASSCHANGE_PASS2, IDC_PASSCHANGE_OKBUT);
}

void Tpasschangeform::FormActivate() {
  ClearFields();
}

void Tpasschangeform::ClearFields() {
  ClearControls({IDC_OLDPASS, IDC_PASSCHANGE_PASS1, IDC_PASSCHANGE_PASS2});
}

void Tpasschangeform::OKbutClick() {
  Conclude(kOutcomes, core::ChangeOwnPassword(users_, ControlText(IDC_OLDPASS),
                                              ControlText(IDC_PASSCHANGE_PASS1),
                                              ControlText(IDC_PASSCHANGE_PASS2)));
}

}  // namespace dialogs
