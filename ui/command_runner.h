// The one wrapper every command and event handler runs inside: whatever it throws is caught here
// and shown in the error box, so no exception ever crosses a window procedure.
#pragma once

#include <functional>

namespace ui {

void RunCommand(const std::function<void()>& command) noexcept;

}  // namespace ui
