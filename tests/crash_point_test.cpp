// What a crash leaves on the disk. Each update the tool makes (the databank save at Quit, the save
// over a databank that could not be read whole, the boot option rewrite, and uninstall's removal
// of the databank) runs on the drive held in memory and is stopped after its k-th call that
// changes the drive, for every k: once as a killed process (every finished call is on the disk)
// and once as a power cut (only what was flushed is). The tool then starts as it does, and the
// files must be exactly old or exactly new, with their attributes, and no side file left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/boot_options.h"
#include "core/databank_file.h"
#include "core/errors.h"
#include "platform/portable/memory_file_system.h"

namespace {

using core::DatabankFile;
using core::UserTable;
using platform::MemoryFileSystem;
using Crash = platform::MemoryFileSystem::Crash;

class RecordedMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

struct Machine {
  const char* name;
  Crash crash;
  bool atomic_replace;  // the NT family's replacing rename
};

const Machine kMachines[] = {
    {"Windows 9x, process killed", Crash::kProcessKilled, false},
    {"Windows 9x, power cut", Crash::kPowerCut, false},
    {"NT, process killed", Crash::kProcessKilled, true},
    {"NT, power cut", Crash::kPowerCut, true},
};

DatabankFile::Clock Ticking() {
  return [tick = std::uint32_t{100}]() mutable { return ++tick; };
}

std::vector<std::string> Names(const UserTable& table) {
  std::vector<std::string> names;
  for (int k = 1; k <= table.Count(); ++k) {
    names.push_back(table.NameOf(k) + "/" + table.PasswordOf(k));
  }
  return names;
}

std::string Bytes(MemoryFileSystem& drive, const std::string& path) {
  platform::FileHandle handle = platform::kNoHandle;
  if (drive.Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting, handle) !=
      platform::kNoError) {
    return "<missing>";
  }
  std::string bytes;
  char piece[4096];
  std::uint32_t done = 0;
  while (drive.Read(handle, piece, sizeof piece, done) == platform::kNoError && done > 0) {
    bytes.append(piece, done);
  }
  drive.Close(handle);
  return bytes;
}

void Place(MemoryFileSystem& drive, const std::string& path, const std::string& bytes) {
  platform::FileHandle handle = platform::kNoHandle;
  ASSERT_EQ(
      drive.Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle),
      platform::kNoError);
  std::uint32_t done = 0;
  drive.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
  drive.Close(handle);
}

// A drive as a machine has it: a databank of five users and a Windows 98 boot file.
void PrepareDrive(MemoryFileSystem& drive, const Machine& machine) {
  drive.SetAtomicReplace(machine.atomic_replace);
  drive.MakeDirectory("c:\\windows\\system");
  UserTable table;
  DatabankFile databank(drive, table, core::kDatabankPath, Ticking());
  databank.OpenDatabank();
  for (const char* name : {"Administrator", "ann", "bob", "carl", "dora"}) {
    table.AppendUser(name, std::string("pw of ") + name);
  }
  databank.SaveDatabank();
}

// The users of the databank at the next start, which runs the recovery of both files first, as
// the main window's creation does. An empty list when no databank was there.
std::vector<std::string> StartAndLoad(MemoryFileSystem& drive, RecordedMessages& messages,
                                      bool whole = true) {
  core::RecoverBootConfig(drive, messages);
  UserTable table;
  DatabankFile databank(drive, table, core::kDatabankPath, Ticking());
  try {
    databank.OpenDatabank();
  } catch (const core::IoError& error) {
    EXPECT_FALSE(whole) << "the next start raised " << error.what();
  }
  return Names(table);
}

testing::AssertionResult NoDatabankSideFiles(MemoryFileSystem& drive) {
  for (const char* extension : {core::kDatabankNewExtension, core::kDatabankOldExtension}) {
    if (drive.FileExists(core::SideFileName(core::kDatabankPath, extension))) {
      return testing::AssertionFailure() << "the ." << extension << " file is left";
    }
  }
  return testing::AssertionSuccess();
}

// Runs `update` on a fresh drive for k = 0, 1, ... changes before the crash, until the update
// finishes before its crash point; `check` gets whether it finished.
template <typename Prepare, typename Update, typename Check>
void AtEveryCrashPoint(const Machine& machine, Prepare prepare, Update update, Check check) {
  SCOPED_TRACE(machine.name);
  for (int k = 0; k < 10000; ++k) {
    SCOPED_TRACE("crash after " + std::to_string(k) + " changes");
    MemoryFileSystem drive;
    prepare(drive);
    drive.MarkAllFlushed();
    drive.CrashAfter(k);
    try {
      update(drive);
    } catch (const core::Error&) {
      // the process is gone: what it raised goes nowhere
    }
    const bool finished = drive.Changes() <= k;
    drive.Restart(machine.crash);
    check(drive, finished);
    if (finished) {
      return;
    }
  }
  ADD_FAILURE() << "the update never finished";
}

const std::vector<std::string> kOldUsers = {"Administrator/pw of Administrator", "ann/pw of ann",
                                            "bob/pw of bob", "carl/pw of carl", "dora/pw of dora"};
// Quit after bob was removed (dora takes his slot) and erik was added.
const std::vector<std::string> kNewUsers = {"Administrator/pw of Administrator", "ann/pw of ann",
                                            "dora/pw of dora", "carl/pw of carl",
                                            "erik/pw of erik"};

void ChangeAndSave(MemoryFileSystem& drive) {
  UserTable table;
  DatabankFile databank(drive, table, core::kDatabankPath, Ticking());
  databank.OpenDatabank();
  table.RemoveUserAt(3);
  table.AppendUser("erik", "pw of erik");
  databank.SaveDatabank();
}

TEST(CrashPointTest, TheDatabankSaveLeavesTheOldOrTheNewUsers) {
  for (const Machine& machine : kMachines) {
    int crash_points = 0;
    AtEveryCrashPoint(
        machine, [&](MemoryFileSystem& drive) { PrepareDrive(drive, machine); }, ChangeAndSave,
        [&](MemoryFileSystem& drive, bool finished) {
          ++crash_points;
          // What the protection program reads at the next Windows start, before the tool ever
          // runs again: the old or the new databank whole, or (9x, between the two renames) none.
          const std::string on_disk = Bytes(drive, core::kDatabankPath);
          if (on_disk != "<missing>") {
            EXPECT_EQ(on_disk.size() % 1536, 0u) << on_disk.size() << " bytes";
          } else {
            EXPECT_FALSE(machine.atomic_replace) << "the databank was missing";
          }
          RecordedMessages messages;
          const std::vector<std::string> users = StartAndLoad(drive, messages);
          EXPECT_TRUE(users == kOldUsers || users == kNewUsers) << users.size() << " users";
          if (finished) {
            EXPECT_EQ(users, kNewUsers);
          }
          EXPECT_TRUE(NoDatabankSideFiles(drive));
          EXPECT_TRUE(messages.shown.empty());
        });
    // Opening, writing the side file, flushing it, and putting it in place: more than a few.
    EXPECT_GT(crash_points, 10) << machine.name;
  }
}

// A databank whose last entry is cut: the save writes the users read and keeps the damaged file
// beside. Whatever the crash, the damaged bytes are never lost.
TEST(CrashPointTest, TheSaveOverADamagedDatabankNeverLosesTheDamagedFile) {
  const std::string damaged_path = core::SideFileName(core::kDatabankPath, "bad");
  for (const Machine& machine : kMachines) {
    std::string damaged;
    AtEveryCrashPoint(
        machine,
        [&](MemoryFileSystem& drive) {
          PrepareDrive(drive, machine);
          damaged = Bytes(drive, core::kDatabankPath) + std::string(700, 'x');
          Place(drive, core::kDatabankPath, damaged);
        },
        [](MemoryFileSystem& drive) {
          UserTable table;
          DatabankFile databank(drive, table, core::kDatabankPath, Ticking());
          try {
            databank.OpenDatabank();
          } catch (const core::IoError&) {
            // the cut entry: "Read beyond end of file"
          }
          table.AppendUser("erik", "pw of erik");
          databank.SaveDatabank();
        },
        [&](MemoryFileSystem& drive, bool finished) {
          const bool old = Bytes(drive, core::kDatabankPath) == damaged;
          EXPECT_TRUE(old || Bytes(drive, damaged_path) == damaged);
          if (finished) {
            EXPECT_FALSE(old);
          }
          RecordedMessages messages;
          const std::vector<std::string> users = StartAndLoad(drive, messages, !old);
          std::vector<std::string> with_erik = kOldUsers;
          with_erik.push_back("erik/pw of erik");
          if (!old) {
            EXPECT_EQ(users, with_erik);
          }
          EXPECT_TRUE(NoDatabankSideFiles(drive));
        });
  }
}

TEST(CrashPointTest, UninstallLeavesTheDatabankWholeOrGone) {
  for (const Machine& machine : kMachines) {
    AtEveryCrashPoint(
        machine, [&](MemoryFileSystem& drive) { PrepareDrive(drive, machine); },
        [](MemoryFileSystem& drive) {
          UserTable table;
          DatabankFile databank(drive, table, core::kDatabankPath, Ticking());
          databank.OpenDatabank();
          databank.DeleteDatabank();
        },
        [&](MemoryFileSystem& drive, bool finished) {
          RecordedMessages messages;
          const std::vector<std::string> users = StartAndLoad(drive, messages);
          EXPECT_TRUE(users == kOldUsers || users.empty()) << users.size() << " users";
          if (finished) {
            EXPECT_TRUE(users.empty());
          }
          EXPECT_TRUE(NoDatabankSideFiles(drive));
        });
  }
}

const std::string kBootBefore =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\n[Options]\r\nBootGUI=1\r\n"
    "BootSafe=0\r\n";
const std::string kBootAfter =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\n[Options]\r\nBOOTGUI=1\r\n";

TEST(CrashPointTest, TheBootRewriteLeavesTheOldOrTheNewBootFileWithItsAttributes) {
  for (const Machine& machine : kMachines) {
    AtEveryCrashPoint(
        machine,
        [&](MemoryFileSystem& drive) {
          PrepareDrive(drive, machine);
          Place(drive, core::kBootConfigPath, kBootBefore);
          drive.SetAttributes(core::kBootConfigPath, core::kBootConfigAttributes);
        },
        [](MemoryFileSystem& drive) {
          RecordedMessages messages;
          core::BootOptionEditor(drive, messages).SetBootOption(core::kBootSafeKey, 1);
        },
        [&](MemoryFileSystem& drive, bool finished) {
          // Never a moment without a whole boot file or a whole copy to put back.
          const std::string boot = Bytes(drive, core::kBootConfigPath);
          if (boot == "<missing>") {
            EXPECT_TRUE(Bytes(drive, core::kBootOldPath) == kBootBefore ||
                        Bytes(drive, core::kBootNewPath) == kBootAfter);
          } else {
            EXPECT_TRUE(boot == kBootBefore || boot == kBootAfter) << boot;
          }
          std::uint32_t attributes = 0;
          const bool bare = boot == "<missing>" ||
                            !drive.GetAttributes(core::kBootConfigPath, attributes) ||
                            attributes != core::kBootConfigAttributes;

          RecordedMessages messages;
          StartAndLoad(drive, messages);
          const std::string now = Bytes(drive, core::kBootConfigPath);
          EXPECT_TRUE(now == kBootBefore || now == kBootAfter) << now;
          if (finished) {
            EXPECT_EQ(now, kBootAfter);
          }
          ASSERT_TRUE(drive.GetAttributes(core::kBootConfigPath, attributes));
          EXPECT_EQ(attributes, core::kBootConfigAttributes);
          for (const char* working :
               {core::kBootBufferPath, core::kBootNewPath, core::kBootOldPath}) {
            EXPECT_FALSE(drive.FileExists(working)) << working;
          }
          // The user hears of it when the start had to repair the boot file.
          EXPECT_EQ(messages.shown.size(), bare ? 1u : 0u);
        });
  }
}

// The start with nothing to recover touches nothing: the recovery only looks.
TEST(CrashPointTest, AStartWithNothingToRecoverChangesNothing) {
  MemoryFileSystem drive;
  PrepareDrive(drive, kMachines[0]);
  Place(drive, core::kBootConfigPath, kBootBefore);
  drive.SetAttributes(core::kBootConfigPath, 7);  // not the tool's 39: not the tool's business
  drive.CrashAfter(0);
  RecordedMessages messages;
  core::RecoverBootConfig(drive, messages);
  UserTable table;
  DatabankFile(drive, table, core::kDatabankPath).RecoverDatabank();
  EXPECT_EQ(drive.Changes(), 0);
  drive.Restart(Crash::kProcessKilled);
  std::uint32_t attributes = 0;
  ASSERT_TRUE(drive.GetAttributes(core::kBootConfigPath, attributes));
  EXPECT_EQ(attributes, 7u);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
