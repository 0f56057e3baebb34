#include "dialogs/uname_change.h"

#include "core/accounts.h"
#include "ui/control_ids.h"
#include "ui/outcome_table.h"

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

// The last two: the dialog stood open while the login changed (now the administrator, or
// logged out).
constexpr ui::OutcomeRow<core::RenameResult> kOutcomes[] = {
    {core::RenameResult::kRenamed,
     "Name has been successfully changed!!",
     {IDC_NEW_NAME},
     ui::Hiding::kAfterMessage},
    {core::RenameResult::kReservedName, "You can't be the administrator!!", {}, ui::Hiding::kStays},
    {core::RenameResult::kAdministratorFixed,
     "The administrator's name cannot be changed!!",
     {},
     ui::Hiding::kAfterMessage},
    {core::RenameResult::kNotLoggedIn, "You must log in first!!!", {}, ui::Hiding::kAfterMessage},
};
static_assert(ui::CoversEveryOutcome(kOutcomes, core::RenameResult::kNotLoggedIn));

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
  Conclude(kOutcomes, core::RenameCurrentUser(users_, ControlText(IDC_NEW_NAME)));
}

}  // namespace dialogs
