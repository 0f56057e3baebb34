// The user functions (rename, own password, login, logout) and the administrator's user management.
#include "app/main_window.h"

namespace app {

void Tmain::namechangeClick() {}

void Tmain::change_passwordClick() {}

void Tmain::LoginClick() {}

void Tmain::Button3Click() {}

void Tmain::add_user_butClick() {}

void Tmain::showpassClick() {}

void Tmain::forcepasschangeClick() {}

void Tmain::kick_userClick() {}

}  // namespace app
