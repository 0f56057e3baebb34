#include "app/command.h"

#include <exception>

#include "app/message_boxes.h"

namespace app {

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

}  // namespace app
