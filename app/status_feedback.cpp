// Status bar panel 1, the hover looks of the two link labels and the picture panels.
#include <string>

#include "app/main_window.h"
#include "core/ascii_text.h"
#include "ui/control_ids.h"
#include "ui/product_texts.h"

namespace app {
namespace {

constexpr COLORREF kNormalColour = RGB(255, 0, 0);
constexpr COLORREF kHoverColour = RGB(255, 255, 255);

struct LinkLabel {
  int id;
  const char* caption;
};

constexpr LinkLabel kLinkLabels[] = {
    {IDC_LABEL6, ui::kAuthorName},
    {IDC_LABEL5, kMakerName},
};

// showmsg(hint), and then the label `lit` (0: none) in its hover look. Done in one step, so a
// lit label is not turned back and forth on every mouse movement over it; the panel and the
// labels are written only when they change, for the same reason.
void ShowHint(Tmain& main, const std::string& hint, int lit) {
  if (main.StatusPanel(1) != hint) {
    main.SetStatusPanel(1, hint);
  }
  for (const LinkLabel& label : kLinkLabels) {
    if (label.id == lit) {
      main.SetLinkLook(label.id, core::UpperCaseAscii(label.caption), kHoverColour);
    } else {
      main.SetLinkLook(label.id, label.caption, kNormalColour);
    }
  }
}

}  // namespace

void Tmain::showmsg(const std::string& text) {
  ShowHint(*this, text, 0);
}

void Tmain::FormMouseMove() {
  showmsg("Ready");
}

void Tmain::Label6MouseMove() {
  ShowHint(*this, "Email the author.", IDC_LABEL6);
}

void Tmain::Label5MouseMove() {
  ShowHint(*this, "Visit Korvane's homepage", IDC_LABEL5);
}

void Tmain::namechangeMouseMove() {
  showmsg("Change your username.");
}

void Tmain::change_passwordMouseMove() {
  showmsg("Change your password");
}

void Tmain::LoginMouseMove() {
  showmsg("Login to configuration.");
}

void Tmain::Button3MouseMove() {
  showmsg("Logout of configuration");
}

void Tmain::statbarDrawPanel(int index, HDC dc, const RECT& rect) {
  if (index != 0 && index != 3) {
    return;
  }
  ImageList_Draw(image_list(), 0, dc, rect.left + 2, rect.top, ILD_NORMAL);
}

}  // namespace app
