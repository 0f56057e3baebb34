#include "dialogs/about.h"

#include <iterator>

#include "app/app_state.h"
#include "app/control_ids.h"
#include "app/product_texts.h"

namespace dialogs {
namespace {

constexpr app::DialogLook kLook = {"Tabout",
                                   "About korvane Configuration",
                                   app::DialogFrame::kFixedWithSystemMenu,
                                   259,
                                   182,
                                   app::CloseAction::kNone,
                                   "MS Sans Serif",
                                   true};

// The dialog's controls, in client pixels.
constexpr app::ControlEntry kControls[] = {
    {IDC_ABOUT_COPYRIGHT, "STATIC", app::kCopyrightLine, 8, 8, 243, 16, SS_LEFT, 0},
    {IDC_ABOUT_LABEL2, "STATIC", app::kAuthorName, 8, 32, 0, 0, SS_LEFT | SS_NOTIFY, 0},
    {IDC_ABOUT_TEXT, "STATIC",
     "Use this program to configure your user settings for the Korvane password protection program",
     8, 56, 243, 80, SS_LEFT, 0},
    {IDC_ABOUT_OKBUT, "BUTTON", "Ok", 92, 148, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

}  // namespace

Tabout::Tabout() : DialogWindow(kLook, kControls, std::size(kControls)) {
  // Enter anywhere in the box presses "Ok"; the close command is ignored (CloseAction::kNone).
  SetEnterKey(0, IDC_ABOUT_OKBUT);
}

void Tabout::OnCreate() {
  HFONT link = app::MakeFont("MS Sans Serif", -11, true, true);
  SendMessageA(Control(IDC_ABOUT_LABEL2), WM_SETFONT, reinterpret_cast<WPARAM>(link), FALSE);
  FitToText(IDC_ABOUT_LABEL2);
}

void Tabout::OnCommand(int id, int code) {
  // Button and link clicks come with code 0 (BN_CLICKED, STN_CLICKED).
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case IDC_ABOUT_OKBUT:
      OkbutClick();
      break;
    case IDC_ABOUT_LABEL2:
      Label2Click();
      break;
    default:
      break;
  }
}

void Tabout::OnActivate() {}

bool Tabout::IsLinkControl(int id) const {
  return id == IDC_ABOUT_LABEL2;
}

COLORREF Tabout::LabelColour(int id) const {
  return id == IDC_ABOUT_LABEL2 ? RGB(0, 0, 255) : RGB(0, 0, 0);
}

void Tabout::OkbutClick() {
  Hide();
}

void Tabout::Label2Click() {
  app::Shell().Open(hwnd(), app::kAuthorMailUrl);
}

}  // namespace dialogs
