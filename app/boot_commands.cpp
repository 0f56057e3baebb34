// The safe-mode and hot-key buttons, which switch the boot options in the boot configuration file.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "core/boot_options.h"

namespace app {
namespace {

// Rewrites the option and reports the outcome; an I/O error goes on to the command wrapper's
// error box, without either message.
void SwitchBootOption(const char* key_prefix, std::uint8_t value, const char* success) {
  core::BootOptionEditor editor(Files(), Messages());
  ShowPlainMessage(editor.SetBootOption(key_prefix, value) ? success : "Unknown error");
}

}  // namespace

void Tmain::makesafemodeClick() {
  if (!Users().HasAdminRights()) {
    return;
  }
  SwitchBootOption("BOOTSAFE=", 1, "Safe mode enabled");
}

void Tmain::NO_SAFE_MODEClick() {
  SwitchBootOption("BOOTSAFE=", 0, "Safe mode disabled");
}

void Tmain::Enable_f8Click() {
  if (!Users().HasAdminRights()) {
    return;
  }
  SwitchBootOption("BOOTKEYS=", 1, "Boot keys enabled");
}

void Tmain::No_f8Click() {
  SwitchBootOption("BOOTKEYS=", 0, "Boot keys disabled");
}

}  // namespace app
