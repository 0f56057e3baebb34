// Status bar texts clipped to what comctl32 takes: the limit per version, the cut, and a real
// status bar of the loaded comctl32 given "Current user: " and a name of 255 characters.
#include "ui/status_text.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(StatusTextTest, EveryVersionBeforeSixTakes127Characters) {
  EXPECT_EQ(127u, ui::StatusTextLimit({4, 0}));   // Windows 95, no DllGetVersion
  EXPECT_EQ(127u, ui::StatusTextLimit({4, 72}));  // Windows 98
  EXPECT_EQ(127u, ui::StatusTextLimit({5, 81}));  // Windows ME, 2000
  EXPECT_EQ(0u, ui::StatusTextLimit({6, 0}));
}

TEST(StatusTextTest, ClipsOnlyWhatIsLongerThanTheLimit) {
  const std::string name(255, 'n');
  const std::string line = "Current user: " + name;
  EXPECT_EQ(line.substr(0, 127), ui::ClipStatusText(line, 127));
  EXPECT_EQ(std::string(127, 'x'), ui::ClipStatusText(std::string(127, 'x'), 127));
  EXPECT_EQ("Current user: bob", ui::ClipStatusText("Current user: bob", 127));
  EXPECT_EQ(line, ui::ClipStatusText(line, 0));
  EXPECT_EQ("", ui::ClipStatusText("", 127));
}

TEST(StatusTextTest, ARealStatusBarKeepsTheClippedText) {
  InitCommonControls();
  HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_POPUP, 0, 0, 400, 20, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, bar);
  const int edges[] = {100, 300, -1};
  SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  const std::string line = "Current user: " + std::string(255, 'n');
  const std::size_t limit = ui::StatusTextLimit(ui::LoadedCommonControlsVersion());
  ui::SetStatusText(bar, 2, line);
  const auto length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 2, 0));
  std::string shown(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(bar, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(shown.data()));
  shown.resize(length);
  EXPECT_EQ(ui::ClipStatusText(line, limit), shown);
  DestroyWindow(bar);
}

}  // namespace
