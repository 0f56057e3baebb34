#include "platform/shell.h"

namespace platform {

CopyOpenOutcome CopyAndOpen(FileSystem& files, Shell& shell, WindowHandle owner,
                            const std::string& source, const std::string& copy) {
  CopyOpenOutcome outcome;
  outcome.copied = files.CopyReplacing(source, copy);
  outcome.opened = shell.Open(owner, copy);
  return outcome;
}

}  // namespace platform
