// The file backend that ships: each operation is one call of the Windows API (ANSI functions),
// with no buffering of our own. Nothing needs its concrete type, so it is only made here.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace platform {

std::unique_ptr<FileSystem> MakeWin32FileSystem();

}  // namespace platform
