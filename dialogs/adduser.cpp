#include "dialogs/adduser.h"

#include <string>

#include "core/accounts.h"
#include "ui/control_ids.h"
#include "ui/message_boxes.h"
#include "ui/outcome_table.h"

namespace dialogs {
namespace {

// The close command is ignored: only the buttons hide the dialog.
constexpr ui::DialogLook kLook = {"TAdduser", "Add a user to the databank", ui::DialogFrame::kFixed,
                                  {216, 122}, ui::CloseAction::kNone,       ui::kDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {ui::kNoId, "STATIC", "User name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_UNAME, "EDIT", "", 120, 8, 87, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {ui::kNoId, "STATIC", "User password:", 8, 38, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS1, "EDIT", "", 120, 34, 87, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {ui::kNoId, "STATIC", "Confirm password:", 8, 64, 0, 0, SS_LEFT, 0},
    {IDC_ADDUSER_PASS2, "EDIT", "", 120, 60, 87, 21, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_ADDUSER_OKBUT, "BUTTON", "Add", 46, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_ADDUSER_CANCELBUT, "BUTTON", "Cancel", 132, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

// "Cancel" hides the dialog; the fields keep their contents.
constexpr ui::Command<TAdduser> kCommands[] = {
    {IDC_ADDUSER_OKBUT, &TAdduser::OKbutClick},
    {IDC_ADDUSER_CANCELBUT, &TAdduser::Hide},
};

// When the administrator logged out while the dialog stood open, the add ends without a word,
// like every administrator command reached by somebody else.
constexpr ui::OutcomeRow<core::AddResult> kOutcomes[] = {
    {core::AddResult::kAdded,
     "User successfully added",
     {IDC_ADDUSER_PASS1, IDC_ADDUSER_PASS2, IDC_UNAME},
     ui::Hiding::kAfterMessage},
    {core::AddResult::kNoRights,
     nullptr,
     {IDC_ADDUSER_PASS1, IDC_ADDUSER_PASS2},
     ui::Hiding::kAfterMessage},
    {core::AddResult::kSecondAdministrator,
     "There can only be one administrator!!!",
     {},
     ui::Hiding::kStays},
    {core::AddResult::kPasswordsDiffer,
     "Passwords do not match",
     {IDC_ADDUSER_PASS1, IDC_ADDUSER_PASS2},
     ui::Hiding::kStays},
    {core::AddResult::kTableFull,
     "The databank is full: it holds no more than 255 users. Remove a user first.",
     {},
     ui::Hiding::kStays},
};
static_assert(ui::CoversEveryOutcome(kOutcomes, core::AddResult::kTableFull));

}  // namespace

TAdduser::TAdduser(core::UserTable& users)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)), users_(users) {
  SetEnterKey(IDC_ADDUSER_PASS2, IDC_ADDUSER_OKBUT);
}

// An empty table gets its administrator first: the name is fixed then.
void TAdduser::FormActivate() {
  SetControlText(IDC_UNAME, "");
  const bool first_user = users_.Count() == 0;
  SendMessageA(Control(IDC_UNAME), EM_SETREADONLY, first_user ? TRUE : FALSE, 0);
  if (!first_user) {
    return;
  }
  SetControlText(IDC_UNAME, std::string(core::kAdministratorName));
  ui::ShowPlainMessage("As you are the first user, you need to configure your settings.");
}

void TAdduser::OKbutClick() {
  Conclude(kOutcomes, core::AddUser(users_, ControlText(IDC_UNAME), ControlText(IDC_ADDUSER_PASS1),
                                    ControlText(IDC_ADDUSER_PASS2)));
}

}  // namespace dialogs
