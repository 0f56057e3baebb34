// The typical run on Windows 98: the shipped program in a 32-bit Wine prefix that reports
// Windows 98 (version 4.10 on the 9x platform). First start, the administrator added, login,
// one boot option, Quit, and the databank checked byte for byte. The e2e_win98 test runs these
// tests alone, in their own prefix (--gtest_filter=Win98*); the other runs leave them out.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/driver.h"
#include "ui/control_ids.h"

namespace {

constexpr char kAddCaption[] = "Add a user to the databank";
constexpr char kFirstUserMessage[] =
    "As you are the first user, you need to configure your settings.";
constexpr DWORD kBootAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// A Windows 98 boot file as the machine has it, and the same after "Disable safemode": the
// key line inserted after the header, the tail upper-cased.
const std::string kBootHead =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\n"
    "HostWinBootDrv=C\r\n\r\n[Options]\r\n";
const std::string kBootBefore = kBootHead + "BootMulti=1\r\nBootGUI=1\r\nWinVer=4.10.2222\r\n";
const std::string kBootAfter =
    kBootHead + "BOOTSAFE=0\r\nBOOTMULTI=1\r\nBOOTGUI=1\r\nWINVER=4.10.2222\r\n";

// The carried bytes of the data record for "Administrator" / "adm98" as written for a slot
// of a fresh table (zeros after each text): each byte plus its position in its half.
const unsigned char kNameHalf[] = {
    0x0D,                                      // length 13
    0x42, 0x66, 0x70, 0x6D, 0x73, 0x6F, 0x7A,  // A d m i n i s, plus 1..7
    0x7C, 0x7B, 0x6B, 0x7F, 0x7B, 0x7F,        // t r a t o r, plus 8..13
    0x0E,                                      // the zero after the name, plus 14
};
const unsigned char kPasswordHalf[] = {
    0x05,                          // length 5
    0x62, 0x66, 0x70, 0x3D, 0x3D,  // a d m 9 8, plus 1..5
    0x06,                          // the zero after the password, plus 6
};

class Win98E2E : public e2e::ToolTest {};

TEST_F(Win98E2E, TypicalRunFromTheFirstStartToQuit) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExA(&version));
  ASSERT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS), version.dwPlatformId)
      << "the prefix does not report the 9x platform";
  ASSERT_EQ(4u, version.dwMajorVersion);
  ASSERT_EQ(10u, version.dwMinorVersion);

  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kMsdosPath, kBootBefore));
  ASSERT_TRUE(SetFileAttributesA(e2e::kMsdosPath, kBootAttributes));

  // First start: an empty databank is created and the administrator group is open.
  ASSERT_TRUE(tool_.Start());
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  bool admin_shown = false;
  ASSERT_TRUE(e2e::ControlShown(main, IDC_ADMIN_BOX, &admin_shown));
  EXPECT_TRUE(admin_shown);
  std::string databank;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &databank));
  EXPECT_EQ(0u, databank.size());
  EXPECT_TRUE(e2e::SaveScreenshot(main, "win98_main_window.png"));

  // The administrator added.
  HWND add;
  ASSERT_TRUE(e2e::Click(main, IDC_ADD_USER_BUT));
  ASSERT_TRUE(tool_.WaitForWindow(kAddCaption, &add));
  ASSERT_TRUE(tool_.ExpectPlainMessage(kFirstUserMessage));
  std::string name;
  ASSERT_TRUE(e2e::ControlText(add, IDC_UNAME, &name));
  EXPECT_EQ("Administrator", name);
  ASSERT_TRUE(e2e::TypeText(add, IDC_ADDUSER_PASS1, "adm98"));
  ASSERT_TRUE(e2e::TypeText(add, IDC_ADDUSER_PASS2, "adm98"));
  ASSERT_TRUE(e2e::Click(add, IDC_ADDUSER_OKBUT));
  ASSERT_TRUE(tool_.ExpectPlainMessage("User successfully added"));
  ASSERT_TRUE(tool_.WaitForWindowHidden(kAddCaption));

  // Login, then one boot option.
  ASSERT_TRUE(tool_.LogIn(main, "Administrator", "adm98"));
  std::string panel;
  ASSERT_TRUE(tool_.ReadStatusPanel(2, &panel));
  EXPECT_EQ("Current user: Administrator", panel);
  ASSERT_TRUE(e2e::Click(main, IDC_NO_SAFE_MODE));
  ASSERT_TRUE(tool_.ExpectPlainMessage("Safe mode disabled"));
  std::string boot;
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kMsdosPath, &boot));
  EXPECT_EQ(kBootAfter, boot);
  EXPECT_EQ(kBootAttributes, e2e::FileAttributes(e2e::kMsdosPath));

  // Quit writes the databank: one entry, two decoys and the data record.
  std::string copyright;
  ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
  ASSERT_TRUE(tool_.WaitForExit());

  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &databank));
  ASSERT_EQ(e2e::kEntrySize, databank.size());
  const std::string data = databank.substr(2 * e2e::kRecordSize);
  EXPECT_EQ(std::string(std::begin(kNameHalf), std::end(kNameHalf)),
            data.substr(0, sizeof kNameHalf));
  EXPECT_EQ(std::string(std::begin(kPasswordHalf), std::end(kPasswordHalf)),
            data.substr(256, sizeof kPasswordHalf));
  EXPECT_TRUE(e2e::FillerIsWellFormed(databank));
}

}  // namespace
