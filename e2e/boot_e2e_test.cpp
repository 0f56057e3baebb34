// End-to-end tests of the four boot option buttons: the real program under Wine rewrites
// c:\Msdos.sys of the prefix, which is checked byte for byte with its attributes, together with
// the message each button shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/driver.h"
#include "ui/control_ids.h"

namespace {

constexpr DWORD kBootAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// A boot file of our own making: the head up to the options header keeps its letter case, the
// rest comes out upper-cased from the first rewrite on.
const std::string kHead =
    "[Paths]\r\n"
    "WinDir=C:\\WINDOWS\r\n"
    "WinBootDir=C:\\WINDOWS\r\n"
    "HostWinBootDrv=C\r\n"
    "\r\n"
    "[Options]\r\n";
const std::string kTail = "BootMulti=1\r\nBootGUI=1\r\nBootKeys=1\r\nLogo=0\r\n;padding line\r\n";
const std::string kOriginal = kHead + kTail;

std::string WorkFile(const char* name) {
  return std::string(e2e::Tool::kDefaultWorkDir) + "\\" + name;
}

// The rewrite's buffer and the old file's copy, both in c:\ beside c:\Msdos2.zvk.
constexpr char kBufferPath[] = "c:\\tempbuffer.zvk";
constexpr char kOldCopyPath[] = "c:\\Msdos.zvk";

// None of the rewrite's working files is left, in c:\ or in the tool's own folder.
bool WorkingFileLeft() {
  return e2e::FileExists(kBufferPath) || e2e::FileExists(kOldCopyPath) ||
         e2e::FileExists(WorkFile("tempbuffer.zvk"));
}

testing::AssertionResult PlaceBootFile(const std::string& bytes) {
  auto written = e2e::WriteFileBytes(e2e::kMsdosPath, bytes);
  if (!written) return written;
  if (!SetFileAttributesA(e2e::kMsdosPath, kBootAttributes)) {
    return testing::AssertionFailure() << "cannot set the attributes, error " << GetLastError();
  }
  return testing::AssertionSuccess();
}

// c:\Msdos.sys holds exactly `bytes` with the attributes 39, and no working file is left.
testing::AssertionResult BootFileIs(const std::string& bytes) {
  std::string found;
  auto read = e2e::ReadFileBytes(e2e::kMsdosPath, &found);
  if (!read) return read;
  if (found != bytes) {
    return testing::AssertionFailure() << "c:\\Msdos.sys holds\n"
                                       << found << "instead of\n"
                                       << bytes;
  }
  const DWORD attributes = e2e::FileAttributes(e2e::kMsdosPath);
  if (attributes != kBootAttributes) {
    return testing::AssertionFailure() << "attributes " << attributes << " instead of 39";
  }
  if (e2e::FileExists(e2e::kMsdos2Path)) {
    return testing::AssertionFailure() << "Msdos2.zvk left";
  }
  if (WorkingFileLeft()) {
    return testing::AssertionFailure() << "tempbuffer.zvk or Msdos.zvk left";
  }
  return testing::AssertionSuccess();
}

class BootE2E : public e2e::ToolTest {};

struct ButtonStep {
  int id;
  const char* message;
  std::string after;
};

// With an empty table every button works without a login. The four clicks in a row: insert
// after the header, replace in place, drop, insert again.
TEST_F(BootE2E, EachButtonRewritesTheBootFileAndSaysSo) {
  const std::string upper_rest = "BOOTMULTI=1\r\nBOOTGUI=1\r\n";
  const ButtonStep steps[] = {
      {IDC_MAKESAFEMODE, "Safe mode enabled",
       kHead + "BOOTSAFE=1\r\n" + upper_rest + "BOOTKEYS=1\r\nLOGO=0\r\n;PADDING LINE\r\n"},
      {IDC_NO_SAFE_MODE, "Safe mode disabled",
       kHead + "BOOTSAFE=0\r\n" + upper_rest + "BOOTKEYS=1\r\nLOGO=0\r\n;PADDING LINE\r\n"},
      {IDC_ENABLE_F8, "Boot keys enabled",
       kHead + "BOOTSAFE=0\r\n" + upper_rest + "LOGO=0\r\n;PADDING LINE\r\n"},
      {IDC_NO_F8, "Boot keys disabled",
       kHead + "BOOTKEYS=0\r\nBOOTSAFE=0\r\n" + upper_rest + "LOGO=0\r\n;PADDING LINE\r\n"},
  };
  ASSERT_TRUE(PlaceBootFile(kOriginal));
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  for (const ButtonStep& step : steps) {
    SCOPED_TRACE(step.message);
    ASSERT_TRUE(e2e::Click(main, step.id));
    ASSERT_TRUE(tool_.ExpectPlainMessage(step.message));
    EXPECT_TRUE(BootFileIs(step.after));
  }
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
}

TEST_F(BootE2E, EnablingButtonsDoNothingForOtherUsers) {
  ASSERT_TRUE(e2e::WriteDatabank({{"Administrator", "secret"}, {"guest", "pw"}}));
  ASSERT_TRUE(PlaceBootFile(kOriginal));
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  // Nobody logged in, then a user who is not the administrator.
  for (const char* who : {"nobody", "guest"}) {
    SCOPED_TRACE(who);
    if (std::string(who) == "guest") {
      ASSERT_TRUE(tool_.LogIn(main, "guest", "pw"));
    }
    for (int id : {IDC_MAKESAFEMODE, IDC_ENABLE_F8}) {
      e2e::PostCommand(main, id);
      EXPECT_TRUE(tool_.ExpectNoMessageBox());
    }
    std::string bytes;
    ASSERT_TRUE(e2e::ReadFileBytes(e2e::kMsdosPath, &bytes));
    EXPECT_EQ(bytes, kOriginal);
    EXPECT_EQ(e2e::FileAttributes(e2e::kMsdosPath), kBootAttributes);
    EXPECT_FALSE(WorkingFileLeft());
  }
}

TEST_F(BootE2E, MissingBootFileShowsFileNotFoundAndNothingElse) {
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  ASSERT_TRUE(e2e::Click(main, IDC_NO_SAFE_MODE));
  ASSERT_TRUE(tool_.ExpectErrorBox("File not found."));
  EXPECT_TRUE(tool_.ExpectNoMessageBox());
  EXPECT_FALSE(e2e::FileExists(e2e::kMsdosPath));
  EXPECT_FALSE(e2e::FileExists(e2e::kMsdos2Path));
  EXPECT_FALSE(WorkingFileLeft());
  EXPECT_TRUE(tool_.Running());
}

// The old file cannot be deleted while another program holds it without sharing the delete:
// the rename then fails because the name is taken, the old content stays with its attributes,
// and the new content is left in c:\Msdos2.zvk.
TEST_F(BootE2E, FailedRenameKeepsTheOldFileAndReportsTwice) {
  ASSERT_TRUE(PlaceBootFile(kOriginal));
  HANDLE held = CreateFileA(e2e::kMsdosPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE) << GetLastError();
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  ASSERT_TRUE(e2e::Click(main, IDC_MAKESAFEMODE));
  EXPECT_TRUE(tool_.ExpectPlainMessage("Could not rename"));
  EXPECT_TRUE(tool_.ExpectPlainMessage("Unknown error"));
  CloseHandle(held);

  std::string bytes;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kMsdosPath, &bytes));
  EXPECT_EQ(bytes, kOriginal);
  EXPECT_EQ(e2e::FileAttributes(e2e::kMsdosPath), kBootAttributes);
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kMsdos2Path, &bytes));
  EXPECT_EQ(bytes, kHead +
                       "BOOTSAFE=1\r\nBOOTMULTI=1\r\nBOOTGUI=1\r\nBOOTKEYS=1\r\nLOGO=0\r\n"
                       ";PADDING LINE\r\n");
}

}  // namespace
