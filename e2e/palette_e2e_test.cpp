// The status bar's pictures on a 256-colour display: the e2e_256_colours test runs these tests
// alone (--gtest_filter=Colours256*) on an 8-bit X display; the other runs leave them out. The
// pictures' transparent colour is magenta, which must never reach the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include "e2e/driver.h"
#include "ui/control_ids.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

class Colours256E2E : public e2e::ToolTest {};

TEST_F(Colours256E2E, StatusBarPicturesShowNoMagenta) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(8, bits) << "the display is not a 256-colour one";

  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  HWND bar = e2e::FindControl(main, IDC_STATBAR);
  ASSERT_NE(nullptr, bar);
  e2e::WindowPixels shot;
  ASSERT_TRUE(e2e::CaptureWindow(main, true, shot));

  // Panels 0 and 3, 25 pixels wide at both ends of the bar, hold picture 0.
  RECT frame, rect;
  GetWindowRect(main, &frame);
  GetWindowRect(bar, &rect);
  const int top = rect.top - frame.top;
  const int bottom = rect.bottom - frame.top;
  const int ends[] = {static_cast<int>(rect.left - frame.left),
                      static_cast<int>(rect.right - frame.left) - 25};
  int magenta = 0;
  int background = 0;
  const COLORREF face = shot.At(ends[0] + 1, top + 1);
  for (int left : ends) {
    for (int y = top; y < bottom && y < shot.height; ++y) {
      for (int x = left; x < left + 25 && x < shot.width; ++x) {
        magenta += shot.At(x, y) == kMagenta;
        background += shot.At(x, y) == face;
      }
    }
  }
  EXPECT_EQ(0, magenta) << "the pictures' transparent colour shows";
  EXPECT_GT(background, 50) << "the pictures' background is not the bar's";
  EXPECT_TRUE(e2e::SaveScreenshot(main, "main_window_256_colours.png"));
}

}  // namespace
