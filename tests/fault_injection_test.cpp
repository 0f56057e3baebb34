// Every file operation of the tool, run over and over with one injected failure: the n-th call of
// one backend operation fails with a chosen code, for n = 1, 2, ... until a run no longer reaches
// the n-th call. After each run the promises of the operation are checked: what is on disk, what
// is in memory, the error text, and that the next operation works.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/boot_options.h"
#include "core/databank_file.h"
#include "core/errors.h"
#include "platform/portable/portable_shell.h"
#include "platform/shell.h"
#include "tests/fault_file_system.h"
#include "tests/test_drive.h"

namespace {

using core::BootOptionEditor;
using core::DatabankFile;
using core::IoError;
using core::SaveOutcome;
using core::UserTable;
using testing_support::FaultFileSystem;
using testing_support::TestDrive;

struct Fault {
  std::string operation;
  platform::ErrorCode code;
};

// The operations that report an error code fail with a code that has a text of its own, with
// the full disk and with one that is shown by number; those that report a bool just fail.
std::vector<Fault> AllFaults() {
  std::vector<Fault> faults;
  for (const char* operation :
       {"Open", "Read", "Write", "Size", "Seek", "Position", "Close", "Flush", "Erase"}) {
    for (platform::ErrorCode code :
         {platform::kErrorAccessDenied, platform::kErrorDiskFull, platform::kErrorIoDevice}) {
      faults.push_back({operation, code});
    }
  }
  for (const char* operation :
       {"SetAttributes", "DeleteByName", "Rename", "CopyReplacing", "ReplaceAtomically"}) {
    faults.push_back({operation, platform::kErrorIoDevice});
  }
  return faults;
}

// A failed call by name reports no code; the operation that saw it raises a code of its own.
bool ReportsItsCode(const Fault& fault) {
  for (const char* by_name :
       {"SetAttributes", "DeleteByName", "Rename", "CopyReplacing", "ReplaceAtomically"}) {
    if (fault.operation == by_name) {
      return false;
    }
  }
  return true;
}

// Runs `run(n)` for n = 1, 2, ... until it returns false: `run` arms the injector for the n-th
// call and tells whether the run reached it.
template <typename Run>
void ForEveryCall(const Fault& fault, Run run) {
  SCOPED_TRACE("failing " + fault.operation + " with code " + std::to_string(fault.code));
  for (int n = 1; n <= 1000; ++n) {
    if (!run(n)) {
      return;
    }
  }
  ADD_FAILURE() << "still reaching the injected call after 1000 runs";
}

// A failed file operation shows a full disk as "Disk full", every other code by its own text.
std::string ErrorText(platform::ErrorCode code) {
  return core::IoErrorMessage(core::IoCodeOf(code));
}

class RecordedMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// ---------------------------------------------------------------------------------------------
// The boot option editor

bool HasWorkingFiles(TestDrive& drive) {
  return drive.Exists(core::kBootBufferPath) || drive.Exists(core::kBootNewPath);
}

// Whether the injected failure was the last attribute change of the run: then nothing is left
// to give the boot file its attributes back.
bool FinalAttributeChangeFailed(const FaultFileSystem& faults) {
  const std::string change = std::string("SetAttributes ") + core::kBootConfigPath;
  if (!faults.nth_reached() || faults.nth_call() != change) {
    return false;
  }
  for (std::size_t i = faults.nth_index() + 1; i < faults.log().size(); ++i) {
    if (faults.log()[i] == change) {
      return false;
    }
  }
  return true;
}

struct BootCase {
  const char* name;
  std::string before;
  std::string_view key;
  std::uint8_t value;
  std::string after;
  // Every rename fails as well, so the one fault lands in the recovery of the replacement.
  bool rename_refused;
  // What the follow-up call with value 0 leaves, from `before` and from `after` alike.
  std::string settled;
};

const BootCase kBootCases[] = {
    {"replace", "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootSafe=1\r\nBootGUI=1\r\n",
     core::kBootSafeKey, 0,
     "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBOOTSAFE=0\r\nBOOTGUI=1\r\n", false,
     "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBOOTSAFE=0\r\nBOOTGUI=1\r\n"},
    {"insert", "[Options]\r\nBootGUI=1\r\n", core::kBootKeysKey, 1,
     "[Options]\r\nBOOTKEYS=1\r\nBOOTGUI=1\r\n", false, "[Options]\r\nBOOTKEYS=0\r\nBOOTGUI=1\r\n"},
    {"refused rename", "[Options]\r\nBootGUI=1\r\n", core::kBootSafeKey, 1,
     "[Options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n", true, "[Options]\r\nBOOTSAFE=0\r\nBOOTGUI=1\r\n"},
};

// c:\Msdos.sys is never missing and never half-written: it holds the old or the new content,
// with its attributes; a raised error has the text of its code and leaves the old content and
// no working file; and the next call works.
TEST(FaultInjectionTest, SetBootOptionLeavesAWholeBootFileWhateverCallFails) {
  for (const BootCase& c : kBootCases) {
    SCOPED_TRACE(c.name);
    for (const Fault& fault : AllFaults()) {
      ForEveryCall(fault, [&](int n) {
        SCOPED_TRACE("n = " + std::to_string(n));
        TestDrive drive;
        drive.WriteFile(core::kBootConfigPath, c.before);
        drive.files().SetAttributes(core::kBootConfigPath, core::kBootConfigAttributes);
        FaultFileSystem faults(drive.files());
        if (c.rename_refused) {
          faults.FailOperation("Rename");
        }
        faults.FailNth(fault.operation, n, fault.code);
        RecordedMessages messages;
        bool raised = false;
        bool result = false;
        try {
          result = BootOptionEditor(faults, messages).SetBootOption(c.key, c.value);
        } catch (const IoError& error) {
          raised = true;
          EXPECT_EQ(error.what(), ErrorText(fault.code));
        }
        SCOPED_TRACE("the failed call: " + faults.nth_call());

        EXPECT_TRUE(drive.Exists(core::kBootConfigPath)) << "c:\\Msdos.sys is missing";
        if (!drive.Exists(core::kBootConfigPath)) {
          return false;
        }
        const std::string now = drive.ReadFile(core::kBootConfigPath);
        if (raised) {
          EXPECT_EQ(now, c.before);
          EXPECT_TRUE(messages.shown.empty());
          EXPECT_FALSE(HasWorkingFiles(drive));
        } else if (result) {
          EXPECT_EQ(now, c.after);
          EXPECT_TRUE(messages.shown.empty());
        } else {
          EXPECT_EQ(messages.shown, std::vector<std::string>{core::kCouldNotRenameMessage});
          if (c.rename_refused) {
            EXPECT_TRUE(now == c.before || now == c.after) << now;
          } else {
            EXPECT_EQ(now, c.before);
          }
        }
        if (!FinalAttributeChangeFailed(faults)) {
          EXPECT_EQ(drive.Attributes(core::kBootConfigPath), core::kBootConfigAttributes);
        }

        RecordedMessages later;
        EXPECT_TRUE(BootOptionEditor(drive.files(), later).SetBootOption(c.key, 0));
        EXPECT_EQ(drive.ReadFile(core::kBootConfigPath), c.settled);
        EXPECT_EQ(drive.Attributes(core::kBootConfigPath), core::kBootConfigAttributes);
        EXPECT_FALSE(HasWorkingFiles(drive));
        return faults.nth_reached();
      });
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The databank file

// A clock that ticks once per entry, so entries get different filler.
DatabankFile::Clock TickingClock() {
  return [tick = std::uint32_t{5000}]() mutable { return ++tick; };
}

void AddUsers(UserTable& table, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    table.AppendUser(name, "pw of " + name);
  }
}

// The whole table, the bytes past the strings and the login state included.
testing::AssertionResult SameTable(const UserTable& found, const UserTable& expected) {
  if (found.Count() != expected.Count()) {
    return testing::AssertionFailure() << found.Count() << " users instead of " << expected.Count();
  }
  for (int k = 1; k <= UserTable::kSlots; ++k) {
    if (std::memcmp(&found.Slot(k), &expected.Slot(k), sizeof(core::UserRecord)) != 0) {
      return testing::AssertionFailure() << "slot " << k << " changed";
    }
  }
  if (found.CurrentUser != expected.CurrentUser || found.SelectedUser != expected.SelectedUser ||
      found.LoggedIn != expected.LoggedIn) {
    return testing::AssertionFailure() << "the login state changed";
  }
  return testing::AssertionSuccess();
}

// Every user of `expected` in his slot, with his name and password.
testing::AssertionResult SameUsers(const UserTable& found, const UserTable& expected) {
  if (found.Count() != expected.Count()) {
    return testing::AssertionFailure() << found.Count() << " users instead of " << expected.Count();
  }
  for (int k = 1; k <= expected.Count(); ++k) {
    if (found.NameOf(k) != expected.NameOf(k) || found.PasswordOf(k) != expected.PasswordOf(k)) {
      return testing::AssertionFailure() << "slot " << k << " holds " << found.NameOf(k);
    }
  }
  return testing::AssertionSuccess();
}

// What the next start of the tool finds in the databank.
testing::AssertionResult NextStartLoads(TestDrive& drive, const UserTable& expected) {
  UserTable table;
  DatabankFile databank(drive.files(), table, core::kDatabankPath, TickingClock());
  try {
    databank.OpenDatabank();
  } catch (const IoError& error) {
    return testing::AssertionFailure() << "loading raised " << error.what();
  }
  return SameUsers(table, expected);
}

class DatabankFaultTest : public testing::Test {
 protected:
  void SetUp() override {
    AddUsers(users_, {"Administrator", "bob", "carol"});
    TestDrive drive;
    UserTable table = users_;
    DatabankFile databank(drive.files(), table, core::kDatabankPath, TickingClock());
    databank.OpenDatabank();
    databank.SaveDatabank();
    databank_bytes_ = drive.ReadFile(core::kDatabankPath);
    ASSERT_EQ(databank_bytes_.size(), 3u * 1536);
  }

  UserTable users_;
  std::string databank_bytes_;
};

// A failed start-up load raises the error of its code and never costs a user: the quit after
// it leaves the file alone, and the next start loads everybody.
TEST_F(DatabankFaultTest, OpenDatabankNeverLosesAUser) {
  for (const Fault& fault : AllFaults()) {
    ForEveryCall(fault, [&](int n) {
      SCOPED_TRACE("n = " + std::to_string(n));
      TestDrive drive;
      drive.WriteFile(core::kDatabankPath, databank_bytes_);
      FaultFileSystem faults(drive.files());
      faults.FailNth(fault.operation, n, fault.code);
      UserTable table;
      DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
      bool raised = false;
      try {
        databank.OpenDatabank();
      } catch (const IoError& error) {
        raised = true;
        EXPECT_EQ(error.what(), ErrorText(fault.code));
      }
      faults.StopCountingNth();
      SCOPED_TRACE("the failed call: " + faults.nth_call());
      if (!raised) {
        EXPECT_TRUE(SameUsers(table, users_));
      }
      // Nobody is logged in, and a table left short is not the empty table of a first start.
      EXPECT_FALSE(table.HasAdminRights());
      if (!raised) {
        EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
        EXPECT_TRUE(NextStartLoads(drive, users_));
      } else if (databank.Loaded() == core::LoadOutcome::kUnread) {
        // Nothing was read: the file is never saved over.
        EXPECT_EQ(table.Count(), 0);
        EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kLeftUnchanged);
        EXPECT_EQ(drive.ReadFile(core::kDatabankPath), databank_bytes_);
        EXPECT_TRUE(NextStartLoads(drive, users_));
      } else {
        // Some users were read: the save writes them and keeps the whole old file beside.
        EXPECT_EQ(databank.Loaded(), core::LoadOutcome::kPartly);
        EXPECT_GT(table.Count(), 0);
        const UserTable read = table;
        EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
        EXPECT_EQ(drive.ReadFile(core::SideFileName(core::kDatabankPath, "bad")), databank_bytes_);
        EXPECT_TRUE(NextStartLoads(drive, read));
      }
      return faults.nth_reached();
    });
  }
}

// The first start creates the databank; when that fails, the first quit still saves the users
// created meanwhile.
TEST_F(DatabankFaultTest, AFailedFirstCreateIsMadeGoodByTheQuit) {
  for (const Fault& fault : AllFaults()) {
    ForEveryCall(fault, [&](int n) {
      SCOPED_TRACE("n = " + std::to_string(n));
      TestDrive drive;
      FaultFileSystem faults(drive.files());
      faults.FailNth(fault.operation, n, fault.code);
      UserTable table;
      DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
      try {
        databank.OpenDatabank();
      } catch (const IoError& error) {
        EXPECT_EQ(error.what(), ErrorText(fault.code));
      }
      faults.StopCountingNth();
      SCOPED_TRACE("the failed call: " + faults.nth_call());
      EXPECT_EQ(table.Count(), 0);
      table = users_;
      EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
      EXPECT_TRUE(NextStartLoads(drive, users_));
      return faults.nth_reached();
    });
  }
}

// A failed save raises the error of its code, leaves the table in memory as it was, and the
// next save writes it whole.
TEST_F(DatabankFaultTest, AFailedSaveKeepsTheTableAndTheNextSaveWritesItWhole) {
  UserTable changed = users_;
  changed.AppendUser("dave", "");
  changed.SetUserName(2, "robert");
  changed.CurrentUser = 1;
  changed.LoggedIn = 1;
  for (const Fault& fault : AllFaults()) {
    ForEveryCall(fault, [&](int n) {
      SCOPED_TRACE("n = " + std::to_string(n));
      TestDrive drive;
      drive.WriteFile(core::kDatabankPath, databank_bytes_);
      FaultFileSystem faults(drive.files());
      UserTable table;
      DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
      databank.OpenDatabank();
      table = changed;
      faults.FailNth(fault.operation, n, fault.code);
      bool raised = false;
      try {
        EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
      } catch (const IoError& error) {
        raised = true;
        if (ReportsItsCode(fault)) {
          EXPECT_EQ(error.what(), ErrorText(fault.code));
        }
      }
      faults.StopCountingNth();
      SCOPED_TRACE("the failed call: " + faults.nth_call());
      EXPECT_TRUE(SameTable(table, changed));
      if (raised) {
        EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
      }
      EXPECT_TRUE(NextStartLoads(drive, changed));
      return faults.nth_reached();
    });
  }
}

TEST_F(DatabankFaultTest, AShortWriteIsReportedAsDiskFullAndTheNextSaveWritesTheTableWhole) {
  TestDrive drive;
  drive.WriteFile(core::kDatabankPath, databank_bytes_);
  FaultFileSystem faults(drive.files());
  UserTable table;
  DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
  databank.OpenDatabank();
  const UserTable loaded = table;
  faults.ShortWrites(true);
  try {
    databank.SaveDatabank();
    ADD_FAILURE() << "a short write went unnoticed";
  } catch (const IoError& error) {
    EXPECT_EQ(core::ErrorBoxText(error.what()), "Disk full.");
  }
  EXPECT_TRUE(SameTable(table, loaded));
  faults.ShortWrites(false);
  EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
  EXPECT_TRUE(NextStartLoads(drive, users_));
}

// A record read that comes back short although a whole entry is left is no incomplete last
// entry: the users after it are still in the file, so the quit must not replace it.
TEST_F(DatabankFaultTest, AShortReadInTheMiddleNeverCostsTheUsersAfterIt) {
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE("short read " + std::to_string(n));
    TestDrive drive;
    drive.WriteFile(core::kDatabankPath, databank_bytes_);
    FaultFileSystem faults(drive.files());
    faults.ShortReadNth(n);
    UserTable table;
    DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
    try {
      databank.OpenDatabank();
      ADD_FAILURE() << "a short read went unnoticed";
    } catch (const IoError& error) {
      EXPECT_EQ(core::ErrorBoxText(error.what()), "Read beyond end of file.");
    }
    EXPECT_EQ(table.Count(), (n - 1) / 3);
    EXPECT_FALSE(table.HasAdminRights());
    if (table.Count() == 0) {
      EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kLeftUnchanged);
      EXPECT_TRUE(NextStartLoads(drive, users_));
    } else {
      // The users after the short read are not lost: the old file is kept whole beside.
      EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
      EXPECT_EQ(drive.ReadFile(core::SideFileName(core::kDatabankPath, "bad")), databank_bytes_);
    }
  }
}

// Uninstall either removes the databank or leaves it whole; a failed close raises the error of
// its code.
TEST_F(DatabankFaultTest, DeleteDatabankLeavesTheFileWholeOrGone) {
  for (const Fault& fault : AllFaults()) {
    ForEveryCall(fault, [&](int n) {
      SCOPED_TRACE("n = " + std::to_string(n));
      TestDrive drive;
      drive.WriteFile(core::kDatabankPath, databank_bytes_);
      FaultFileSystem faults(drive.files());
      UserTable table;
      DatabankFile databank(faults, table, core::kDatabankPath, TickingClock());
      databank.OpenDatabank();
      table.SetCount(0);
      table.CurrentUser = 0;
      faults.FailNth(fault.operation, n, fault.code);
      try {
        databank.DeleteDatabank();
      } catch (const IoError& error) {
        EXPECT_EQ(error.what(), ErrorText(fault.code));
      }
      faults.StopCountingNth();
      SCOPED_TRACE("the failed call: " + faults.nth_call());
      EXPECT_FALSE(databank.IsOpen());
      if (drive.Exists(core::kDatabankPath)) {
        EXPECT_EQ(drive.ReadFile(core::kDatabankPath), databank_bytes_);
        // The next uninstall, from a fresh start, removes it.
        UserTable again;
        DatabankFile next(drive.files(), again, core::kDatabankPath, TickingClock());
        next.OpenDatabank();
        next.DeleteDatabank();
        EXPECT_FALSE(drive.Exists(core::kDatabankPath));
      }
      return faults.nth_reached();
    });
  }
}

// ---------------------------------------------------------------------------------------------
// The login log copy

// The copy either replaces the last one whole or leaves it as it was, and the copy is opened
// in any case; the log itself is never touched.
TEST(FaultInjectionTest, TheLogCopyIsWholeOrTheLastOne) {
  constexpr char kLog[] = "c:\\windows\\logfile.zvk";
  constexpr char kCopy[] = "c:\\korvanelog.txt";
  const std::string log = "alice logged in\r\nbob failed\r\n";
  for (const Fault& fault : AllFaults()) {
    ForEveryCall(fault, [&](int n) {
      SCOPED_TRACE("n = " + std::to_string(n));
      TestDrive drive;
      drive.WriteFile(kLog, log);
      drive.WriteFile(kCopy, "the last copy\r\n");
      FaultFileSystem faults(drive.files());
      faults.FailNth(fault.operation, n, fault.code);
      platform::PortableShell shell;
      const platform::CopyOpenOutcome outcome =
          platform::CopyAndOpen(faults, shell, nullptr, kLog, kCopy);
      SCOPED_TRACE("the failed call: " + faults.nth_call());
      EXPECT_TRUE(outcome.opened);
      EXPECT_EQ(shell.requests().size(), 1u);
      EXPECT_EQ(shell.requests().empty() ? "" : shell.requests()[0].target, kCopy);
      EXPECT_EQ(drive.ReadFile(kCopy), outcome.copied ? log : "the last copy\r\n");
      EXPECT_EQ(drive.ReadFile(kLog), log);
      return faults.nth_reached();
    });
  }
}

}  // namespace
