// The real program killed inside its save at Quit, and started again: the databank holds the
// users of before or those of after, never fewer, and no side file is left. Also what the start
// says about a databank that could not be read whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
#include "ui/control_ids.h"

namespace {

using e2e::User;

constexpr char kRemoveQuestion[] = "Are you sure you want to remove this user??";
const char* const kSideFiles[] = {"c:\\windows\\system\\QslSysTbl.new",
                                  "c:\\windows\\system\\QslSysTbl.old"};

class CrashE2E : public e2e::ToolTest {};

// A full databank, so that the save takes a while: 255 entries of three records.
std::vector<User> FullDatabank() {
  std::vector<User> users = {{"Administrator", "secret"}};
  for (int k = 2; k <= 255; ++k) {
    users.push_back({"user" + std::to_string(k), "pw" + std::to_string(k)});
  }
  return users;
}

TEST_F(CrashE2E, KilledInsideTheSaveTheNextStartFindsTheUsersOfBeforeOrAfter) {
  const std::vector<User> before = FullDatabank();
  std::vector<User> after = before;
  after.pop_back();
  // Killed at once, early in the save, later in it, and after the closing message.
  int saw_before = 0;
  int saw_after = 0;
  for (DWORD delay_ms : {0u, 3u, 10u, 25u, 60u, 2000u}) {
    SCOPED_TRACE("killed " + std::to_string(delay_ms) + " ms into Quit");
    ASSERT_TRUE(e2e::ResetToolFiles());
    ASSERT_TRUE(e2e::WriteDatabank(before));
    ASSERT_TRUE(tool_.Start());
    HWND main;
    ASSERT_TRUE(tool_.WaitForMainWindow(&main));
    ASSERT_TRUE(tool_.LogIn(main, "Administrator", "secret"));
    ASSERT_TRUE(e2e::SelectListItem(main, IDC_USERS_BOX, 254));
    ASSERT_TRUE(e2e::Click(main, IDC_KICK_USER));
    ASSERT_TRUE(tool_.AnswerConfirmation(kRemoveQuestion, true));
    ASSERT_TRUE(tool_.ExpectPlainMessage("User has been deleted"));
    ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
    Sleep(delay_ms);
    tool_.Kill();

    // The next start recovers before it loads, and says nothing about it.
    ASSERT_TRUE(tool_.Start());
    ASSERT_TRUE(tool_.WaitForMainWindow(&main));
    EXPECT_TRUE(tool_.ExpectNoMessageBox());
    std::vector<User> found;
    ASSERT_TRUE(e2e::ReadDatabank(&found));
    EXPECT_TRUE(found == before || found == after) << found.size() << " users";
    saw_before += found == before;
    saw_after += found == after;
    for (const char* side : kSideFiles) {
      EXPECT_FALSE(e2e::FileExists(side)) << side;
    }
    tool_.Kill();
  }
  // The last kill comes long after the save.
  EXPECT_GT(saw_after, 0);
  RecordProperty("kills_finding_before", saw_before);
}

TEST_F(CrashE2E, ADatabankCutShortIsSaidAtStartAndKeptBesideTheNewOne) {
  const std::vector<User> users = {{"Administrator", "secret"}, {"ann", "pw"}};
  const std::string whole = e2e::EncodeDatabank(users);
  const std::string damaged = whole + std::string(700, 'x');
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::kDatabankPath, damaged));
  ASSERT_TRUE(tool_.Start());
  ASSERT_TRUE(tool_.ExpectErrorBox("Read beyond end of file."));
  ASSERT_TRUE(tool_.ExpectPlainMessage(
      "The databank could not be read whole: 2 users were read. Quit saves the users read and "
      "keeps the damaged file as c:\\windows\\system\\QslSysTbl.bad."));
  HWND main;
  ASSERT_TRUE(tool_.WaitForMainWindow(&main));
  std::string copyright;
  ASSERT_TRUE(e2e::ControlText(main, IDC_LABEL2, &copyright));
  ASSERT_TRUE(tool_.ChooseMenu(IDM_QUIT1));
  ASSERT_TRUE(tool_.ExpectInformationBox(e2e::QuitMessage(copyright)));
  ASSERT_TRUE(tool_.WaitForExit());
  std::vector<User> found;
  ASSERT_TRUE(e2e::ReadDatabank(&found));
  EXPECT_EQ(found, users);
  std::string kept;
  ASSERT_TRUE(e2e::ReadFileBytes("c:\\windows\\system\\QslSysTbl.bad", &kept));
  EXPECT_EQ(kept, damaged);
}

}  // namespace
