#include "dialogs/about.h"

#include "ui/control_ids.h"
#include "ui/product_texts.h"

namespace dialogs {
namespace {

// The close command is ignored: only "Ok" and Enter hide the box.
constexpr ui::DialogLook kLook = {
    "Tabout",   "About korvane Configuration", ui::DialogFrame::kFixedWithSystemMenu,
    {259, 182}, ui::CloseAction::kNone,        ui::kBoldDialogFont};

constexpr ui::ControlEntry kControls[] = {
    {IDC_ABOUT_COPYRIGHT, "STATIC", ui::kCopyrightLine, 8, 8, 243, 16, SS_LEFT, 0},
    {IDC_ABOUT_LABEL2, "STATIC", ui::kAuthorName, 8, 32, 0, 0, SS_LEFT | SS_NOTIFY, 0},
    {IDC_ABOUT_TEXT, "STATIC",
     "Use this program to configure your user settings for the Korvane password protection program",
     8, 56, 243, 80, SS_LEFT, 0},
    {IDC_ABOUT_OKBUT, "BUTTON", "Ok", 92, 148, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0},
};

constexpr ui::Command<Tabout> kCommands[] = {
    {IDC_ABOUT_OKBUT, &Tabout::Hide},
    {IDC_ABOUT_LABEL2, &Tabout::Label2Click},
};

}  // namespace

Tabout::Tabout(platform::Shell& shell)
    : DialogWindow(kLook, kControls, ui::BindCommands(*this, kCommands)), shell_(shell) {
  SetEnterKey(0, IDC_ABOUT_OKBUT);  // Enter anywhere in the box
}

void Tabout::FormCreate() {
  HFONT link = ui::MakeFont("MS Sans Serif", -11, true, true);
  SendMessageA(Control(IDC_ABOUT_LABEL2), WM_SETFONT, reinterpret_cast<WPARAM>(link), FALSE);
  FitToText(IDC_ABOUT_LABEL2);
}

bool Tabout::IsLinkControl(int id) const {
  return id == IDC_ABOUT_LABEL2;
}

COLORREF Tabout::LabelColour(int id) const {
  return id == IDC_ABOUT_LABEL2 ? RGB(0, 0, 255) : RGB(0, 0, 0);
}

void Tabout::Label2Click() {
  shell_.Open(hwnd(), ui::kAuthorMailUrl);
}

}  // namespace dialogs
