#include "platform/win32/win32_shell.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace platform {

bool Win32Shell::Open(WindowHandle owner, const std::string& target) {
  HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), "open", target.c_str(), nullptr,
                                   nullptr, SW_SHOWNORMAL);
  // Values up to 32 are error codes (SE_ERR_...), larger ones mean the request was carried out.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
