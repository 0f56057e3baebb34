// The shell interface over ShellExecuteA with the verb "open" and SW_SHOWNORMAL.
#pragma once

#include "platform/shell.h"

namespace platform {

class Win32Shell : public Shell {
 public:
  bool Open(WindowHandle owner, const std::string& target) override;
};

}  // namespace platform
