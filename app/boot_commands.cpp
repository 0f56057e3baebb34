// The safe-mode and hot-key buttons, which switch the boot options in the boot configuration file.
// Which of them test the rights is a column of the main window's command table.
#include "app/main_window.h"
#include "core/boot_options.h"
#include "ui/message_boxes.h"

namespace app {
namespace {

// Rewrites the option and reports the outcome; an I/O error goes on to the command runner's
// error box, without either message.
void SwitchBootOption(const MainWindowParts& parts, std::string_view key_prefix, std::uint8_t value,
                      const char* success) {
  core::BootOptionEditor editor(parts.files, parts.messages);
  ui::ShowPlainMessage(editor.SetBootOption(key_prefix, value) ? success : "Unknown error");
}

}  // namespace

void Tmain::makesafemodeClick() {
  SwitchBootOption(parts_, core::kBootSafeKey, 1, "Safe mode enabled");
}

void Tmain::NO_SAFE_MODEClick() {
  SwitchBootOption(parts_, core::kBootSafeKey, 0, "Safe mode disabled");
}

void Tmain::Enable_f8Click() {
  SwitchBootOption(parts_, core::kBootKeysKey, 1, "Boot keys enabled");
}

void Tmain::No_f8Click() {
  SwitchBootOption(parts_, core::kBootKeysKey, 0, "Boot keys disabled");
}

}  // namespace app
