// Status bar panel 1, the hover looks of the two link labels and the picture panels.
#include "app/main_window.h"

namespace app {

void Tmain::showmsg(const std::string& text) {
  (void)text;
}

void Tmain::FormMouseMove() {}

void Tmain::Label6MouseMove() {}

void Tmain::Label5MouseMove() {}

void Tmain::namechangeMouseMove() {}

void Tmain::change_passwordMouseMove() {}

void Tmain::LoginMouseMove() {}

void Tmain::Button3MouseMove() {}

void Tmain::statbarDrawPanel(int index, HDC dc, const RECT& rect) {
  (void)index;
  (void)dc;
  (void)rect;
}

}  // namespace app
