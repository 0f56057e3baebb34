#include "platform/portable/portable_shell.h"

namespace platform {

bool PortableShell::Open(WindowHandle owner, const std::string& target) {
  requests_.push_back({owner, target});
  return !refuse_;
}

}  // namespace platform
