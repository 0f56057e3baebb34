// Texts for the parts of a status bar, clipped to what the running comctl32 takes. Windows 95's
// comctl32 4.00 (which has no DllGetVersion to ask) refuses a part's text longer than 127
// characters, so "Current user: " with a long name would leave the part unchanged. Every version
// before 6.0 is held to the same 127: no part is wide enough to show that many characters, so
// the cut is never seen, and a refused text would be.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace ui {

// Major and minor version of comctl32 as its DllGetVersion gives them; 4.00 when it has none.
struct CommonControlsVersion {
  DWORD major;
  DWORD minor;
};

// The version of the comctl32 loaded in this process, looked up once.
CommonControlsVersion LoadedCommonControlsVersion();

// The longest text a status bar part takes from that comctl32 version; 0 means no limit (6.0 on).
std::size_t StatusTextLimit(CommonControlsVersion version);

// `text` cut to `limit` characters (0: left whole).
std::string ClipStatusText(const std::string& text, std::size_t limit);

// Sets part `part` of the status bar `bar` to `text`, clipped for the loaded comctl32.
void SetStatusText(HWND bar, int part, const std::string& text);

}  // namespace ui
