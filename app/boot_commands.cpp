// The safe-mode and hot-key buttons, which switch the boot options in the boot configuration file.
#include "app/main_window.h"

namespace app {

void Tmain::makesafemodeClick() {}

void Tmain::NO_SAFE_MODEClick() {}

void Tmain::Enable_f8Click() {}

void Tmain::No_f8Click() {}

}  // namespace app
