// End-to-end tests of the message boxes holding the whole tool: with the main window and the
// add dialog both up, a box raised by either leaves the other disabled while it is up, no
// command starts meanwhile, and afterwards every window takes input again and the window that
// was active is active again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::User;

constexpr char kAddCaption[] = "Add a user to the databank";

class ModalE2E : public e2e::ToolTest {
 protected:
  // Logs in as the administrator of a two-user databank and opens the add dialog beside the
  // main window.
  void OpenAddDialog(HWND* main, HWND* add) {
    ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "pw"}, {"bob", "b"}}));
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(main));
    ASSERT_TRUE(tool_.LogIn(*main, "Administrator", "pw"));
    ASSERT_TRUE(e2e::Click(*main, IDC_ADD_USER_BUT));
    ASSERT_TRUE(tool_.WaitForWindow(kAddCaption, add));
  }

  // The visible message boxes of the tool.
  int BoxesShown() const {
    int boxes = 0;
    for (HWND window : tool_.TopLevelWindows()) {
      if (e2e::ClassName(window) == "#32770" && IsWindowVisible(window)) {
        ++boxes;
      }
    }
    return boxes;
  }

  // No second box comes up during the quiet period.
  testing::AssertionResult StaysOneBox() const {
    for (DWORD waited = 0; waited < e2e::kQuietMs; waited += 20, Sleep(20)) {
      if (BoxesShown() != 1) {
        return testing::AssertionFailure() << BoxesShown() << " boxes are up";
      }
    }
    return testing::AssertionSuccess();
  }

  static testing::AssertionResult Enabled(HWND window, bool expected) {
    for (int i = 0; i < 100; ++i, Sleep(10)) {
      if ((IsWindowEnabled(window) != FALSE) == expected) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << '"' << e2e::WindowText(window) << "\" is " << (expected ? "disabled" : "enabled");
  }

  // The active window and the focus of the tool's window thread.
  static GUITHREADINFO Input(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
  }

  static testing::AssertionResult ActiveAgain(HWND window, HWND focus) {
    GUITHREADINFO info{};
    for (int i = 0; i < 100; ++i, Sleep(10)) {
      info = Input(window);
      if (info.hwndActive == window && info.hwndFocus == focus) {
        return testing::AssertionSuccess();
      }
    }
    return testing::AssertionFailure()
           << "active \"" << e2e::WindowText(info.hwndActive) << "\", focus on \""
           << e2e::WindowText(info.hwndFocus) << "\"; expected \"" << e2e::WindowText(window)
           << "\" with the focus on \"" << e2e::WindowText(focus) << '"';
  }
};

TEST_F(ModalE2E, BoxesOfTheDialogAndOfTheMainWindowEachHoldTheOtherWindow) {
  HWND main = nullptr;
  HWND add = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenAddDialog(&main, &add));

  // The dialog's box: the main window takes nothing meanwhile, not even a posted click.
  ASSERT_TRUE(e2e::TypeText(add, IDC_UNAME, "carl"));
  ASSERT_TRUE(e2e::TypeText(add, IDC_ADDUSER_PASS1, "one"));
  ASSERT_TRUE(e2e::TypeText(add, IDC_ADDUSER_PASS2, "two"));
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  e2e::MessageBoxInfo box;
  ASSERT_TRUE(tool_.WaitForMessageBox(&box));
  EXPECT_EQ(box.text, "Passwords do not match");
  // The click put the focus on "Add", and there it is again when the box has gone.
  const HWND focus = e2e::FindControl(add, IDC_ADDUSER_OKBUT);
  EXPECT_TRUE(Enabled(main, false));
  ASSERT_TRUE(e2e::Click(main, IDC_LOGIN));
  EXPECT_TRUE(StaysOneBox());
  ASSERT_TRUE(tool_.Answer(box, "OK"));
  EXPECT_TRUE(Enabled(main, true));
  EXPECT_TRUE(Enabled(add, true));
  EXPECT_TRUE(ActiveAgain(add, focus));
  // The click posted while the box was up is gone, not merely delayed.
  EXPECT_FALSE(tool_.FindWindowByCaption(e2e::kLoginCaption) &&
               IsWindowVisible(tool_.FindWindowByCaption(e2e::kLoginCaption)));

  // The main window's box: the dialog takes nothing meanwhile.
  ASSERT_TRUE(e2e::Click(main, IDC_FORCEPASSCHANGE));
  ASSERT_TRUE(tool_.WaitForMessageBox(&box));
  EXPECT_EQ(box.text, "Select a user first!!");
  EXPECT_TRUE(Enabled(add, false));
  EXPECT_TRUE(Enabled(main, false));
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_CANCELBUT));
  EXPECT_TRUE(StaysOneBox());
  ASSERT_TRUE(tool_.Answer(box, "OK"));
  EXPECT_TRUE(Enabled(add, true));
  EXPECT_TRUE(Enabled(main, true));
  EXPECT_TRUE(IsWindowVisible(add)) << "the Cancel posted while the box was up ran";
  EXPECT_TRUE(tool_.ExpectNoMessageBox());

  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  std::string copyright;
  ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
  ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
  ASSERT_TRUE(tool_.WaitForExit());
}

TEST_F(ModalE2E, QuitsClosingMessageHoldsEveryWindowUntilTheRunEnds) {
  HWND main = nullptr;
  HWND add = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenAddDialog(&main, &add));
  ASSERT_TRUE(e2e::SelectListItem(main, IDC_USERS_BOX, 1));

  std::string copyright;
  ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  e2e::MessageBoxInfo box;
  ASSERT_TRUE(tool_.WaitForMessageBox(&box));
  EXPECT_EQ(box.caption, "Information");
  EXPECT_EQ(box.text, e2e::QuitMessage(copyright));
  EXPECT_TRUE(Enabled(main, false));
  EXPECT_TRUE(Enabled(add, false));

  // A removal, a second Quit and a close tried while the box is up run nothing: no question,
  // no second save, and the run ends when the box is answered.
  ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
  e2e::PostCommand(main, IDC_KICK_USER);
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  ASSERT_TRUE(tool_.PostClose());
  EXPECT_TRUE(StaysOneBox());
  ASSERT_TRUE(tool_.Answer(box, "OK"));
  ASSERT_TRUE(tool_.WaitForExit());

  std::vector<User> saved;
  ASSERT_TRUE(e2e::ReadDatabank(&saved));
  EXPECT_EQ(saved, (std::vector<User>{{"Administrator", "pw"}, {"bob", "b"}}));
}

}  // namespace
