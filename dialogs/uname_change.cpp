#include "dialogs/uname_change.h"

#include <iterator>

#include "app/control_ids.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {"Tuname_change",
                                   "Change current User's name",
                                   app::DialogFrame::kResizable,
                                   222,
                                   100,
                                   app::CloseAction::kHide,
                                   "MS Sans Serif",
                                   false};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {app::kNoId, "STATIC", "New user name:", 8, 12, 0, 0, SS_LEFT, 0},
    {IDC_NEW_NAME, "EDIT", "", 88, 8, 113, 21, ES_AUTOHSCROLL | WS_TABSTOP, 0},
    {IDC_UNAME_OKBUT, "BUTTON", "Change", 40, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_UNAME_CANCELBUT, "BUTTON", "Cancel", 124, 38, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

Tuname_change::Tuname_change() : DialogWindow(kLook, kControls, std::size(kControls)) {
  SetEnterKey(IDC_NEW_NAME, IDC_UNAME_OKBUT);
}

void Tuname_change::OnCreate() {}

void Tuname_change::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_UNAME_OKBUT:
      OKbutClick();
      break;
    case IDC_UNAME_CANCELBUT:
      CancelbutClick();
      break;
    default:
      break;
  }
}

void Tuname_change::OnActivate() {}

void Tuname_change::OKbutClick() {}

void Tuname_change::CancelbutClick() {}

}  // namespace dialogs
