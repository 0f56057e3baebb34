// What the start makes of the side files that a cut-off update leaves, state by state, on every
// backend (real renames under Wine); the start-up report of a databank that could not be read
// whole; and a save that the system refuses to put in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/boot_options.h"
#include "core/databank_file.h"
#include "core/errors.h"
#include "tests/test_drive.h"

namespace {

using core::DatabankFile;
using core::kDatabankPath;
using core::UserTable;
using testing_support::TestDrive;

const std::string kNewSide = core::SideFileName(kDatabankPath, core::kDatabankNewExtension);
const std::string kOldSide = core::SideFileName(kDatabankPath, core::kDatabankOldExtension);

class RecordedMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

DatabankFile::Clock Ticking() {
  return [tick = std::uint32_t{7}]() mutable { return ++tick; };
}

std::vector<std::string> Names(const UserTable& table) {
  std::vector<std::string> names;
  for (int k = 1; k <= table.Count(); ++k) {
    names.push_back(table.NameOf(k));
  }
  return names;
}

// The bytes of a databank of these users, as a save writes them.
std::string DatabankOf(TestDrive& drive, const std::vector<std::string>& names) {
  UserTable table;
  DatabankFile databank(drive.files(), table, kDatabankPath, Ticking());
  databank.OpenDatabank();
  for (const std::string& name : names) {
    table.AppendUser(name, "pw");
  }
  databank.SaveDatabank();
  std::string bytes = drive.ReadFile(kDatabankPath);
  drive.files().DeleteByName(kDatabankPath);
  return bytes;
}

TEST(SideFileNameTest, ReplacesTheExtensionOnly) {
  EXPECT_EQ(core::SideFileName("c:\\windows\\system\\QslSysTbl.dll", "new"),
            "c:\\windows\\system\\QslSysTbl.new");
  EXPECT_EQ(core::SideFileName("c:\\a.b\\file", "old"), "c:\\a.b\\file.old");
  EXPECT_EQ(core::SideFileName("file.x.dll", "bad"), "file.x.bad");
}

TEST(DatabankRecoveryTest, EachStateACrashLeavesEndsOldOrNew) {
  const std::vector<std::string> old_users = {"Administrator", "ann"};
  const std::vector<std::string> new_users = {"Administrator", "bob", "carl"};
  struct State {
    const char* name;
    const char* databank;  // "old", "new", "" (missing) or "cut" (half written)
    const char* fresh;     // the .new file
    const char* old;       // the .old file
    const std::vector<std::string>* expected;
  };
  const std::vector<std::string> none;
  const State states[] = {
      {"while the new file was written", "old", "cut", "", &old_users},
      {"the new file complete, not yet in place", "old", "new", "", &old_users},
      {"between the two renames", "", "new", "old", &new_users},
      {"before the old file was deleted", "new", "", "old", &new_users},
      {"only the old file aside", "", "", "old", &old_users},
      {"all three", "old", "new", "old", &old_users},
      {"a save over a missing databank", "", "cut", "", &none},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    TestDrive drive;
    const std::string old_bytes = DatabankOf(drive, old_users);
    const std::string new_bytes = DatabankOf(drive, new_users);
    const auto bytes_of = [&](const std::string& which) {
      return which == "old" ? old_bytes : which == "new" ? new_bytes : new_bytes.substr(0, 1000);
    };
    for (const auto& [path, which] :
         {std::pair<std::string, std::string>{kDatabankPath, state.databank},
          {kNewSide, state.fresh},
          {kOldSide, state.old}}) {
      if (!which.empty()) {
        drive.WriteFile(path, bytes_of(which));
      }
    }
    UserTable table;
    DatabankFile databank(drive.files(), table, kDatabankPath, Ticking());
    EXPECT_NO_THROW(databank.OpenDatabank());
    EXPECT_EQ(Names(table), *state.expected);
    EXPECT_EQ(databank.Loaded(), core::LoadOutcome::kWhole);
    EXPECT_FALSE(drive.Exists(kNewSide));
    EXPECT_FALSE(drive.Exists(kOldSide));
  }
}

TEST(DatabankRecoveryTest, UninstallRemovesTheSideFilesToo) {
  TestDrive drive;
  drive.WriteFile(kDatabankPath, "");
  UserTable table;
  DatabankFile databank(drive.files(), table, kDatabankPath, Ticking());
  databank.OpenDatabank();
  // Left beside it by something else meanwhile: none may be taken for the databank later.
  const std::string damaged = core::SideFileName(kDatabankPath, core::kDatabankDamagedExtension);
  for (const std::string& side : {kNewSide, kOldSide, damaged}) {
    drive.WriteFile(side, "x");
  }
  databank.DeleteDatabank();
  for (const std::string& path : {std::string(kDatabankPath), kNewSide, kOldSide, damaged}) {
    EXPECT_FALSE(drive.Exists(path)) << path;
  }
}

TEST(DatabankReportTest, TheStartSaysWhatWasReadAndWhatQuitWillDo) {
  EXPECT_EQ(core::LoadReport(core::LoadOutcome::kWhole, 4, kDatabankPath), "");
  EXPECT_EQ(core::LoadReport(core::LoadOutcome::kPartly, 3, kDatabankPath),
            "The databank could not be read whole: 3 users were read. Quit saves the users read "
            "and keeps the damaged file as c:\\windows\\system\\QslSysTbl.bad.");
  EXPECT_EQ(core::LoadReport(core::LoadOutcome::kPartly, 1, kDatabankPath),
            "The databank could not be read whole: 1 user was read. Quit saves the users read "
            "and keeps the damaged file as c:\\windows\\system\\QslSysTbl.bad.");
  EXPECT_EQ(core::LoadReport(core::LoadOutcome::kUnread, 0, kDatabankPath),
            "No user could be read from the databank. It is left as it is, and no change to the "
            "users is saved.");
}

// The user in a cut last entry is not lost without a word: the start tells, and the save keeps
// the damaged file whole beside the new one; a later save has nothing to keep any more.
TEST(DatabankReportTest, ACutLastEntryIsKeptBesideTheSavedUsers) {
  TestDrive drive;
  const std::string whole = DatabankOf(drive, {"Administrator", "ann"});
  const std::string damaged = whole + whole.substr(0, 1200);
  drive.WriteFile(kDatabankPath, damaged);
  const std::string kept_path = core::SideFileName(kDatabankPath, core::kDatabankDamagedExtension);
  UserTable table;
  {
    DatabankFile databank(drive.files(), table, kDatabankPath, Ticking());
    EXPECT_THROW(databank.OpenDatabank(), core::IoError);
    EXPECT_EQ(databank.Loaded(), core::LoadOutcome::kPartly);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Administrator", "ann"}));
    table.AppendUser("bob", "pw");
    EXPECT_EQ(databank.SaveDatabank(), core::SaveOutcome::kSaved);
  }
  EXPECT_EQ(drive.ReadFile(kept_path), damaged);
  UserTable again;
  DatabankFile databank(drive.files(), again, kDatabankPath, Ticking());
  databank.OpenDatabank();
  EXPECT_EQ(Names(again), (std::vector<std::string>{"Administrator", "ann", "bob"}));
  EXPECT_EQ(databank.Loaded(), core::LoadOutcome::kWhole);
}

// Under Wine: another program holds the databank open without delete sharing, so neither the
// replacing rename nor the rename aside works. The save fails with the old file whole and open.
TEST(DatabankRecoveryTest, AHeldDatabankFailsTheSaveAndKeepsTheOldFile) {
  if (!TestDrive::IsWin32()) {
    GTEST_SKIP() << "the portable backends have no sharing rules";
  }
  TestDrive drive;
  const std::string old_bytes = DatabankOf(drive, {"Administrator"});
  drive.WriteFile(kDatabankPath, old_bytes);
  UserTable table;
  DatabankFile databank(drive.files(), table, kDatabankPath, Ticking());
  databank.OpenDatabank();
  table.AppendUser("ann", "pw");
  platform::FileHandle held = platform::kNoHandle;
  ASSERT_EQ(drive.files().Open(kDatabankPath, platform::Access::kRead,
                               platform::Disposition::kOpenExisting, held),
            platform::kNoError);
  try {
    databank.SaveDatabank();
    ADD_FAILURE() << "the save went through a held file";
  } catch (const core::IoError& error) {
    EXPECT_EQ(core::ErrorBoxText(error.what()), "File access denied.");
  }
  drive.files().Close(held);
  EXPECT_TRUE(databank.IsOpen());
  EXPECT_EQ(drive.ReadFile(kDatabankPath), old_bytes);
  EXPECT_FALSE(drive.Exists(kNewSide));
  EXPECT_FALSE(drive.Exists(kOldSide));
  // Once the file is free again, Quit saves.
  EXPECT_EQ(databank.SaveDatabank(), core::SaveOutcome::kSaved);
}

TEST(BootRecoveryTest, EachStateACrashLeavesEndsWithAWholeBootFileAndItsAttributes) {
  const std::string before = "[Options]\r\nBootSafe=0\r\n";
  const std::string after = "[Options]\r\nBOOTSAFE=1\r\n";
  struct State {
    const char* name;
    const char* boot;  // "old", "new" or "" (missing)
    std::uint32_t attributes;
    bool fresh;  // c:\Msdos2.zvk holds the new content
    bool old;    // c:\Msdos.zvk holds the old content
    const std::string* expected;
    bool told;
  };
  const State states[] = {
      {"in pass 3", "old", 39, true, false, &before, false},
      {"after the attributes were cleared", "old", 0, true, false, &before, true},
      {"between the renames", "", 0, true, true, &after, true},
      {"before the attributes were set", "new", 32, false, true, &after, true},
      {"before the copy was deleted", "new", 39, false, true, &after, false},
      {"a way back that failed", "", 0, false, true, &before, true},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    TestDrive drive;
    const std::string boot = state.boot;
    if (!boot.empty()) {
      drive.WriteFile(core::kBootConfigPath, boot == "old" ? before : after);
      drive.files().SetAttributes(core::kBootConfigPath, state.attributes);
    }
    if (state.fresh) {
      drive.WriteFile(core::kBootNewPath, after);
    }
    if (state.old) {
      drive.WriteFile(core::kBootOldPath, before);
    }
    drive.WriteFile(core::kBootBufferPath, "half");
    RecordedMessages messages;
    core::RecoverBootConfig(drive.files(), messages);
    EXPECT_EQ(drive.ReadFile(core::kBootConfigPath), *state.expected);
    EXPECT_EQ(drive.Attributes(core::kBootConfigPath), core::kBootConfigAttributes);
    for (const char* working : {core::kBootNewPath, core::kBootOldPath, core::kBootBufferPath}) {
      EXPECT_FALSE(drive.Exists(working)) << working;
    }
    EXPECT_EQ(messages.shown, state.told ? std::vector<std::string>{core::kBootRestoredMessage}
                                         : std::vector<std::string>{});
  }
}

// A buffer left by passes 1 or 2 goes; the boot file, whatever its attributes, stays alone.
TEST(BootRecoveryTest, ABufferAloneIsRemovedSilently) {
  TestDrive drive;
  drive.WriteFile(core::kBootConfigPath, "[Options]\r\n");
  drive.files().SetAttributes(core::kBootConfigPath, platform::kAttributeHidden);
  drive.WriteFile(core::kBootBufferPath, "half");
  RecordedMessages messages;
  core::RecoverBootConfig(drive.files(), messages);
  EXPECT_FALSE(drive.Exists(core::kBootBufferPath));
  // Not given read-only and system: someone else's choice of attributes is no crash.
  EXPECT_EQ(drive.Attributes(core::kBootConfigPath) & 7u, platform::kAttributeHidden);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
