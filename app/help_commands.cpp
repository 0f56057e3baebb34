// The Help menu, the two credit links, the login log view and the about box command.
#include "app/main_window.h"

namespace app {

void Tmain::OpenHelp1Click() {}

void Tmain::Readme1Click() {}

void Tmain::Mailtheauthor1Click() {}

void Tmain::About1Click() {}

void Tmain::Homepage1Click() {}

void Tmain::Label6Click() {}

void Tmain::Label5Click() {}

void Tmain::Button1Click() {}

}  // namespace app
