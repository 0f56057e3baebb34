#include "ui/command_runner.h"

#include <exception>

#include "ui/message_boxes.h"

namespace ui {

void RunCommand(const std::function<void()>& command) noexcept {
  // The error box itself may fail to allocate; nothing more can be done then.
  try {
    try {
      command();
    } catch (const std::exception& error) {
      ShowErrorBox(error.what());
    } catch (...) {
      ShowErrorBox("Unexpected error");
    }
  } catch (...) {
  }
}

}  // namespace ui
