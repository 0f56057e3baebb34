// The shell layer and the copy-then-open of the login log view. The copy runs on the test drive
// (natively the portable backend, under Wine real files and CopyFileA) and the open requests go
// to the recording shell; under Wine the Win32 shell is also asked to open real files.
#include "platform/shell.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/portable/portable_shell.h"
#include "tests/test_drive.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_shell.h"
#endif

namespace {

constexpr char kLog[] = "c:\\windows\\logfile.zvk";
constexpr char kCopy[] = "c:\\korvanelog.txt";

platform::WindowHandle Owner() {
  static int window;
  return &window;
}

testing::AssertionResult OpenedOnlyTheCopy(const platform::PortableShell& shell) {
  if (shell.requests().size() != 1) {
    return testing::AssertionFailure() << shell.requests().size() << " open requests, not 1";
  }
  const platform::OpenRequest& request = shell.requests().front();
  if (request.target != kCopy) {
    return testing::AssertionFailure() << "opened " << request.target;
  }
  if (request.owner != Owner()) {
    return testing::AssertionFailure() << "another owner window";
  }
  return testing::AssertionSuccess();
}

class LogCopyTest : public testing::Test {
 protected:
  testing_support::TestDrive drive_;
  platform::PortableShell shell_;
};

TEST_F(LogCopyTest, CopiesTheLogOverAnEarlierLongerCopyAndOpensIt) {
  const std::string log = "01.02.2003 Administrator\r\n02.02.2003 guest\r\n";
  drive_.WriteFile(kLog, log);
  drive_.WriteFile(kCopy, std::string(500, 'x'));
  const auto outcome = platform::CopyAndOpen(drive_.files(), shell_, Owner(), kLog, kCopy);
  EXPECT_TRUE(outcome.copied);
  EXPECT_TRUE(outcome.opened);
  EXPECT_EQ(log, drive_.ReadFile(kCopy)) << "the copy is replaced whole, not overwritten in part";
  EXPECT_EQ(log, drive_.ReadFile(kLog)) << "the log itself is left as it was";
  EXPECT_TRUE(OpenedOnlyTheCopy(shell_));
}

TEST_F(LogCopyTest, WithoutALogTheEarlierCopyStaysAndIsOpened) {
  drive_.WriteFile(kCopy, "older view");
  const auto outcome = platform::CopyAndOpen(drive_.files(), shell_, Owner(), kLog, kCopy);
  EXPECT_FALSE(outcome.copied);
  EXPECT_TRUE(outcome.opened);
  EXPECT_EQ("older view", drive_.ReadFile(kCopy));
  EXPECT_TRUE(OpenedOnlyTheCopy(shell_));
}

TEST_F(LogCopyTest, WithoutALogOrCopyNothingIsCreatedAndTheOpenIsStillAsked) {
  shell_.RefuseRequests(true);  // as the shell does for a missing file
  const auto outcome = platform::CopyAndOpen(drive_.files(), shell_, Owner(), kLog, kCopy);
  EXPECT_FALSE(outcome.copied);
  EXPECT_FALSE(outcome.opened);
  EXPECT_FALSE(drive_.Exists(kCopy));
  EXPECT_TRUE(OpenedOnlyTheCopy(shell_));
}

#ifdef _WIN32
// A batch file is opened by running it, so the shell's "open" leaves a trace to wait for.
class Win32ShellTest : public testing::Test {
 protected:
  static constexpr char kProbe[] = "shell-probe.bat";
  static constexpr char kTrace[] = "shell-probe.txt";

  ~Win32ShellTest() override {
    DeleteFileA(kProbe);
    DeleteFileA(kTrace);
  }

  bool WaitForTrace() {
    for (int i = 0; i < 100; ++i, Sleep(50)) {
      if (drive_.Exists(kTrace)) {
        return true;
      }
    }
    return false;
  }

  testing_support::TestDrive drive_;
  platform::Win32Shell shell_;
};

TEST_F(Win32ShellTest, OpensAFileOfTheCurrentDirectory) {
  drive_.WriteFile(kProbe, std::string("@echo opened>") + kTrace + "\r\n");
  EXPECT_TRUE(shell_.Open(nullptr, kProbe));
  EXPECT_TRUE(WaitForTrace()) << "the batch file did not run";
}

TEST_F(Win32ShellTest, RefusesAMissingFile) {
  EXPECT_FALSE(shell_.Open(nullptr, "c:\\korvane-tests\\no such file.txt"));
  EXPECT_FALSE(shell_.Open(nullptr, kCopy));
}
#endif

}  // namespace
