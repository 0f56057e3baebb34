// The Windows shell's "open" of a document or an address, as one small interface with two
// backends: Win32 (ShellExecuteA, what ships) and a portable one that records the requests for
// the native build and the tests. Nothing here shows anything to the user; whether a refused
// request is worth a word is the caller's decision.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace platform {

// The window that owns a shell request (an HWND in the Win32 backend); nullptr for none.
using WindowHandle = void*;

class Shell {
 public:
  virtual ~Shell() = default;

  // Performs the shell's default "open" verb on `target`, shown normally, with no parameters and
  // no working directory. `target` is a file name (relative to the current directory or
  // absolute), a "mailto:" address or a web address. True when the shell took the request.
  virtual bool Open(WindowHandle owner, const std::string& target) = 0;
};

struct CopyOpenOutcome {
  bool copied = false;
  bool opened = false;
};

// Copies `source` over `copy` (an earlier copy is replaced), then opens `copy` with the shell
// whether or not the copy succeeded: a failed copy leaves the last good copy, if any, to be
// shown. Both outcomes are returned for the caller to use or ignore.
CopyOpenOutcome CopyAndOpen(FileSystem& files, Shell& shell, WindowHandle owner,
                            const std::string& source, const std::string& copy);

}  // namespace platform
