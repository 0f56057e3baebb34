#include "ui/status_text.h"

#include <commctrl.h>

namespace ui {

namespace {

// The layout of DLLVERSIONINFO, which DllGetVersion fills; declared here so that nothing more
// than GetProcAddress is needed to ask.
struct VersionInfo {
  DWORD size;
  DWORD major;
  DWORD minor;
  DWORD build;
  DWORD platform;
};
using DllGetVersionProc = HRESULT(CALLBACK*)(VersionInfo*);

constexpr std::size_t kOldStatusTextLimit = 127;  // comctl32 4.00 .. 5.x

CommonControlsVersion AskCommonControls() {
  const CommonControlsVersion oldest{4, 0};
  HMODULE module = GetModuleHandleA("comctl32.dll");
  if (!module) {
    return oldest;
  }
  auto ask = reinterpret_cast<DllGetVersionProc>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
  if (!ask) {
    return oldest;
  }
  VersionInfo info{};
  info.size = sizeof info;
  if (FAILED(ask(&info))) {
    return oldest;
  }
  return {info.major, info.minor};
}

}  // namespace

CommonControlsVersion LoadedCommonControlsVersion() {
  static const CommonControlsVersion version = AskCommonControls();
  return version;
}

std::size_t StatusTextLimit(CommonControlsVersion version) {
  return version.major >= 6 ? 0 : kOldStatusTextLimit;
}

std::string ClipStatusText(const std::string& text, std::size_t limit) {
  if (limit == 0 || text.size() <= limit) {
    return text;
  }
  return text.substr(0, limit);
}

void SetStatusText(HWND bar, int part, const std::string& text) {
  const std::string clipped = ClipStatusText(text, StatusTextLimit(LoadedCommonControlsVersion()));
  SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(clipped.c_str()));
}

}  // namespace ui
