// End-to-end tests of start-up, the main window and Quit: the real program under Wine, its
// databank in the prefix arranged before and checked byte by byte after.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::User;

class MainWindowE2E : public e2e::ToolTest {
 protected:
  // Starts the tool and waits for its main window.
  void StartAndWait(HWND* main) {
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(main));
  }

  // The copyright line as the main window shows it; the closing message repeats it.
  std::string Copyright(HWND main) {
    std::string line;
    EXPECT_TRUE(e2e::ControlText(main, IDC_LABEL2, &line));
    EXPECT_FALSE(line.empty());
    return line;
  }

  // Status panel 2 once the first activation has filled it.
  testing::AssertionResult WaitForLoginPanel(const std::string& expected) {
    std::string text;
    for (int i = 0; i < 200; ++i, Sleep(10)) {
      auto r = tool_.ReadStatusPanel(2, &text);
      if (!r) return r;
      if (text == expected) return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "status panel 2 reads \"" << text << "\", expected \"" << expected << "\"";
  }

  // Quits by the given way, answers the closing message and waits for the end of the process.
  void QuitAndExpectSaved(HWND main, bool by_close_box) {
    const std::string copyright = Copyright(main);
    ASSERT_TRUE(by_close_box ? tool_.CloseByCloseBox() : tool_.ChooseMenu(IDM_QUIT1));
    ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
    ASSERT_TRUE(tool_.WaitForExit());
  }
};

// The worked example of the file format, checked against our own encoder: the name "abc" is
// stored as 03 62 64 66, so the rig's databanks are what the tool expects.
TEST(DatabankCodec, EncodesTheWorkedExample) {
  const std::string record = e2e::EncodeDataRecord(e2e::SlotBytes({"abc", ""}, 0x10, 0x20), 7);
  EXPECT_EQ(std::string("\x03\x62\x64\x66\x14", 5), record.substr(0, 5));
  // Empty password: positions 0 and 1 of its half are carried, the byte after it shifted by 1.
  EXPECT_EQ(std::string("\x00\x21", 2), record.substr(256, 2));
  EXPECT_EQ("abc", e2e::DecodeRecord(record).substr(1, 3));
  std::vector<User> users;
  ASSERT_TRUE(e2e::DecodeDatabank(e2e::EncodeDatabank({{"abc", "pw"}, {"", ""}}), &users));
  EXPECT_EQ((std::vector<User>{{"abc", "pw"}, {"", ""}}), users);
  EXPECT_TRUE(e2e::FillerIsWellFormed(e2e::EncodeDatabank({{"abc", "pw"}, {"x", ""}})));
}

TEST_F(MainWindowE2E, FirstStartCreatesAnEmptyDatabankAndOpensTheAdministratorGroup) {
  HWND main;
  StartAndWait(&main);
  std::string file = "not read";
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &file));
  EXPECT_EQ("", file) << "start-up creates a zero-length databank";

  std::vector<std::string> items;
  ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
  EXPECT_TRUE(items.empty());
  EXPECT_TRUE(WaitForLoginPanel("Not logged in"));
  for (int id : {IDC_ADMIN_BOX, IDC_ADD_USER_BUT, IDC_USERS_BOX, IDC_ADVANCED_BOX, IDC_UNINSTALL}) {
    bool shown = false;
    ASSERT_TRUE(e2e::ControlShown(main, id, &shown));
    EXPECT_TRUE(shown) << "control " << id << " hidden on an empty databank";
  }
  EXPECT_EQ("Korvane configuration", e2e::WindowText(main));

  std::string written;
  ASSERT_TRUE(e2e::SaveScreenshot(main, "main_window.png", &written));
  std::string png;
  ASSERT_TRUE(e2e::ReadFileBytes(written, &png));
  EXPECT_EQ("\x89PNG", png.substr(0, 4));

  QuitAndExpectSaved(main, false);
  ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &file));
  EXPECT_EQ("", file) << "quitting with no users leaves a zero-length databank";
}

TEST_F(MainWindowE2E, StartWithUsersListsThemInSlotOrderAndHidesTheAdministratorGroup) {
  const std::vector<User> users = {{"Administrator", "secret"}, {"zed", "1"}, {"anna", ""}};
  ASSERT_TRUE(e2e::WriteDatabank(users));
  HWND main;
  StartAndWait(&main);
  std::vector<std::string> items;
  ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
  EXPECT_EQ((std::vector<std::string>{"Administrator", "zed", "anna"}), items);
  EXPECT_TRUE(WaitForLoginPanel("Not logged in"));
  for (int id : {IDC_ADMIN_BOX, IDC_ADD_USER_BUT, IDC_ADVANCED_BOX, IDC_NO_SAFE_MODE}) {
    bool shown = true;
    ASSERT_TRUE(e2e::ControlShown(main, id, &shown));
    EXPECT_FALSE(shown) << "control " << id << " shown before any login";
  }
  for (int id : {IDC_LOGIN, IDC_BUTTON3, IDC_NAMECHANGE, IDC_CHANGE_PASSWORD}) {
    bool shown = false;
    ASSERT_TRUE(e2e::ControlShown(main, id, &shown));
    EXPECT_TRUE(shown) << "user function " << id << " hidden";
  }
}

// Both ordinary ways out save the table in the three-record form and show the same box.
TEST_F(MainWindowE2E, QuitByMenuAndByCloseBoxRewriteTheDatabank) {
  const std::vector<User> users = {{"Administrator", "secret"}, {"abc", "p w"}, {"", ""}};
  for (bool by_close_box : {false, true}) {
    SCOPED_TRACE(by_close_box ? "close box" : "File > Quit");
    ASSERT_TRUE(e2e::WriteDatabank(users));
    std::string before;
    ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &before));
    HWND main;
    StartAndWait(&main);
    QuitAndExpectSaved(main, by_close_box);
    tool_.Kill();

    std::string after;
    ASSERT_TRUE(e2e::ReadFileBytes(e2e::kDatabankPath, &after));
    ASSERT_EQ(3 * e2e::kEntrySize, after.size());
    std::vector<User> saved;
    ASSERT_TRUE(e2e::DecodeDatabank(after, &saved));
    EXPECT_EQ(users, saved);
    EXPECT_TRUE(e2e::FillerIsWellFormed(after));
    // Entry 2 holds "abc": the carried positions of its data record are exactly the worked
    // example, and the byte after the name comes back as the tool loaded it.
    const std::size_t data = e2e::kEntrySize + 2 * e2e::kRecordSize;
    EXPECT_EQ(std::string("\x03\x62\x64\x66", 4), after.substr(data, 4));
    EXPECT_EQ(before[data + 4], after[data + 4]);
    EXPECT_EQ(std::string("\x03\x71\x22\x7a", 4), after.substr(data + 256, 4));  // "p w"
    EXPECT_NE(before.substr(0, e2e::kRecordSize), after.substr(0, e2e::kRecordSize))
        << "the decoys are drawn anew at every save";
  }
}

// An incomplete last entry: the error comes before the main window, the complete entries stay
// loaded and start-up goes on.
TEST_F(MainWindowE2E, TruncatedDatabankShowsReadBeyondEndBeforeTheMainWindow) {
  std::string file = e2e::EncodeDatabank({{"Administrator", "secret"}, {"guest", "pw"}});
  file.resize(e2e::kEntrySize + 700);
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kDatabankPath, file));
  ASSERT_TRUE(tool_.Start());
  e2e::MessageBoxInfo box;
  ASSERT_TRUE(tool_.WaitForMessageBox(&box));
  HWND early = tool_.FindWindowByCaption(e2e::kMainCaption);
  EXPECT_FALSE(early && IsWindowVisible(early)) << "the main window is shown before the error";
  ASSERT_TRUE(tool_.Answer(box, "OK"));
  EXPECT_EQ(e2e::kAppTitle, box.caption);
  EXPECT_EQ("Read beyond end of file.", box.text);
  EXPECT_EQ(e2e::IconKind::kStop, box.icon);
  EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
  // Then what was read, and that the damaged file will be kept beside the new one.
  ASSERT_TRUE(tool_.ExpectPlainMessage(
      "The databank could not be read whole: 1 user was read. Quit saves the users read and "
      "keeps the damaged file as c:\\windows\\system\\QslSysTbl.bad."));

  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  std::vector<std::string> items;
  ASSERT_TRUE(e2e::ListItems(main, IDC_USERS_BOX, &items));
  EXPECT_EQ(std::vector<std::string>{"Administrator"}, items);
}

// A save that fails leaves the window open with the error shown; once the cause is gone, Quit
// saves everything. The databank's directory is moved away after start-up, so re-creating the
// file fails (Wine lets root write read-only files, so the attribute would not stop it).
TEST_F(MainWindowE2E, FailedSaveShowsTheErrorAndKeepsTheWindowOpen) {
  const std::vector<User> users = {{"Administrator", "secret"}, {"guest", "pw"}};
  ASSERT_TRUE(e2e::WriteDatabank(users));
  HWND main;
  StartAndWait(&main);
  const std::string system_dir = "c:\\windows\\system";
  const std::string moved_dir = "c:\\windows\\system.e2e-away";
  ASSERT_TRUE(MoveFileA(system_dir.c_str(), moved_dir.c_str())) << GetLastError();
  struct Restore {
    std::string from, to;
    ~Restore() { MoveFileA(from.c_str(), to.c_str()); }
  } restore{moved_dir, system_dir};

  for (bool by_close_box : {false, true}) {
    SCOPED_TRACE(by_close_box ? "close box" : "File > Quit");
    ASSERT_TRUE(by_close_box ? tool_.CloseByCloseBox() : tool_.ChooseMenu(IDM_QUIT1));
    ASSERT_TRUE(tool_.ExpectErrorBox("Invalid filename."));
    EXPECT_TRUE(tool_.ExpectNoMessageBox()) << "no closing message after a failed save";
    EXPECT_TRUE(tool_.Running());
    EXPECT_TRUE(IsWindowVisible(main));
  }

  ASSERT_TRUE(MoveFileA(moved_dir.c_str(), system_dir.c_str())) << GetLastError();
  restore.from.clear();
  QuitAndExpectSaved(main, false);
  std::vector<User> saved;
  ASSERT_TRUE(e2e::ReadDatabank(&saved));
  EXPECT_EQ(users, saved);
}

}  // namespace
