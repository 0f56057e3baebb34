// The boot option editor: the rewrite of c:\Msdos.sys byte for byte, the working files, and what
// is left on disk when a step fails.
#include "core/boot_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ascii_text.h"
#include "core/errors.h"
#include "tests/fault_file_system.h"
#include "tests/test_drive.h"

namespace {

using core::BootOptionEditor;
using core::kBootBufferPath;
using core::kBootConfigAttributes;
using core::kBootConfigPath;
using core::kBootKeysKey;
using core::kBootNewPath;
using core::kBootSafeKey;
using testing_support::FaultFileSystem;
using testing_support::TestDrive;
using testing_support::Visible;

class RecordedMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// The boot file as Windows leaves it: the given bytes with attributes 39.
void PlaceBootFile(TestDrive& drive, const std::string& bytes) {
  drive.WriteFile(kBootConfigPath, bytes);
  ASSERT_TRUE(drive.files().SetAttributes(kBootConfigPath, kBootConfigAttributes));
}

// The boot file holds exactly `bytes` with attributes 39, and no working file is left.
testing::AssertionResult BootFileIs(TestDrive& drive, const std::string& bytes) {
  if (!drive.Exists(kBootConfigPath)) {
    return testing::AssertionFailure() << "no c:\\Msdos.sys";
  }
  const std::string found = drive.ReadFile(kBootConfigPath);
  if (found != bytes) {
    return testing::AssertionFailure() << "c:\\Msdos.sys holds\n"
                                       << Visible(found) << "\ninstead of\n"
                                       << Visible(bytes);
  }
  const std::uint32_t attributes = drive.Attributes(kBootConfigPath);
  if (attributes != kBootConfigAttributes) {
    return testing::AssertionFailure() << "attributes " << attributes;
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult NoWorkingFiles(TestDrive& drive) {
  if (drive.Exists(kBootBufferPath)) {
    return testing::AssertionFailure() << "tempbuffer.zvk left";
  }
  if (drive.Exists(kBootNewPath)) {
    return testing::AssertionFailure() << "c:\\Msdos2.zvk left";
  }
  return testing::AssertionSuccess();
}

struct RewriteCase {
  const char* name;
  std::string_view key;
  std::uint8_t value;
  std::string before;
  std::string after;
};

// A Windows 98 boot file of our own making, shortened to two padding lines.
const std::string kTypical =
    "[Paths]\r\n"
    "WinDir=C:\\WINDOWS\r\n"
    "WinBootDir=C:\\WINDOWS\r\n"
    "HostWinBootDrv=C\r\n"
    "\r\n"
    "[Options]\r\n"
    "BootMulti=1\r\n"
    "BootGUI=1\r\n"
    "DoubleBuffer=1\r\n"
    "AutoScan=1\r\n"
    "WinVer=4.10.2222\r\n"
    ";\r\n"
    ";Padding keeps this file above 1024 bytes.\r\n"
    ";xxxxxxxxxxxxxxxxxxxxa\r\n"
    ";xxxxxxxxxxxxxxxxxxxxb\r\n";
const std::string kTypicalHead =
    "[Paths]\r\n"
    "WinDir=C:\\WINDOWS\r\n"
    "WinBootDir=C:\\WINDOWS\r\n"
    "HostWinBootDrv=C\r\n"
    "\r\n"
    "[Options]\r\n";
const std::string kTypicalTailUpper =
    "BOOTMULTI=1\r\n"
    "BOOTGUI=1\r\n"
    "DOUBLEBUFFER=1\r\n"
    "AUTOSCAN=1\r\n"
    "WINVER=4.10.2222\r\n"
    ";\r\n"
    ";PADDING KEEPS THIS FILE ABOVE 1024 BYTES.\r\n"
    ";XXXXXXXXXXXXXXXXXXXXA\r\n"
    ";XXXXXXXXXXXXXXXXXXXXB\r\n";

const RewriteCase kRewriteCases[] = {
    {"typical file, enable safe mode", kBootSafeKey, 1, kTypical,
     kTypicalHead + "BOOTSAFE=1\r\n" + kTypicalTailUpper},
    {"typical file, disable boot keys", kBootKeysKey, 0, kTypical,
     kTypicalHead + "BOOTKEYS=0\r\n" + kTypicalTailUpper},
    {"value 0 replaces a key line in place", kBootSafeKey, 0,
     "[Options]\r\nBootGUI=1\r\nBootSafe=1\r\nLogo=0\r\n",
     "[Options]\r\nBOOTGUI=1\r\nBOOTSAFE=0\r\nLOGO=0\r\n"},
    {"value 0 replaces every key line", kBootSafeKey, 0,
     "[Options]\r\nBootSafe=1\r\nx=1\r\nbootsafe=0\r\n",
     "[Options]\r\nBOOTSAFE=0\r\nX=1\r\nBOOTSAFE=0\r\n"},
    {"value 1 drops the key line", kBootKeysKey, 1, "[Options]\r\nBOOTKEYS=0\r\nBootGUI=1\r\n",
     "[Options]\r\nBOOTGUI=1\r\n"},
    {"value 1 drops a key line of value 1 too", kBootKeysKey, 1,
     "[Options]\r\nBootKeys=1\r\nBootKeys=0\r\n", "[Options]\r\n"},
    {"the other key is left alone", kBootSafeKey, 1, "[Options]\r\nBootKeys=0\r\n",
     "[Options]\r\nBOOTSAFE=1\r\nBOOTKEYS=0\r\n"},
    {"header keeps its letter case", kBootSafeKey, 1, "[options]\r\nbootgui=1\r\n",
     "[options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n"},
    {"other values are no key lines", kBootSafeKey, 0, "[Options]\r\nBootSafe=2\r\n",
     "[Options]\r\nBOOTSAFE=0\r\nBOOTSAFE=2\r\n"},
    {"blanks around = make no key line", kBootSafeKey, 1, "[Options]\r\nBootSafe = 0\r\n",
     "[Options]\r\nBOOTSAFE=1\r\nBOOTSAFE = 0\r\n"},
    {"a trailing blank makes no key line", kBootSafeKey, 0, "[Options]\r\nBootSafe=1 \r\n",
     "[Options]\r\nBOOTSAFE=0\r\nBOOTSAFE=1 \r\n"},
    {"key lines in the head are not touched", kBootSafeKey, 0,
     "BootSafe=1\r\n[Paths]\r\nbootsafe=0\r\n[Options]\r\n",
     "BootSafe=1\r\n[Paths]\r\nbootsafe=0\r\n[Options]\r\nBOOTSAFE=0\r\n"},
    {"a key line in a later section counts", kBootSafeKey, 0,
     "[Options]\r\nBootGUI=1\r\n[Extra]\r\nBootSafe=1\r\n",
     "[Options]\r\nBOOTGUI=1\r\n[EXTRA]\r\nBOOTSAFE=0\r\n"},
    {"a key line in a later section suppresses the insert", kBootSafeKey, 1,
     "[Options]\r\nBootGUI=1\r\n[Extra]\r\nBootSafe=0\r\n",
     "[Options]\r\nBOOTGUI=1\r\n[EXTRA]\r\n"},
    {"insert after every header line", kBootKeysKey, 0,
     "[Paths]\r\n[Options]\r\na=1\r\n[options]\r\nb=2\r\n",
     "[Paths]\r\n[Options]\r\nBOOTKEYS=0\r\nA=1\r\n[OPTIONS]\r\nBOOTKEYS=0\r\nB=2\r\n"},
    {"header as the last line, value 0", kBootSafeKey, 0, "[Paths]\r\n[Options]\r\n",
     "[Paths]\r\n[Options]\r\nBOOTSAFE=0\r\n"},
    {"header as the last line, value 1", kBootSafeKey, 1, "[Paths]\r\n[Options]\r\n",
     "[Paths]\r\n[Options]\r\nBOOTSAFE=1\r\n"},
    {"header as the last line without line end", kBootSafeKey, 1, "[Options]",
     "[Options]\r\nBOOTSAFE=1\r\n"},
    {"a header with a leading blank is none", kBootSafeKey, 1, " [Options]\r\nbootgui=1\r\n",
     " [Options]\r\nbootgui=1\r\n"},
    {"a header with a trailing blank is none", kBootSafeKey, 1, "[Options] \r\nbootgui=1\r\n",
     "[Options] \r\nbootgui=1\r\n"},
    {"no header: content unchanged", kBootSafeKey, 1, "[Paths]\r\nWinDir=C:\\Windows\r\n",
     "[Paths]\r\nWinDir=C:\\Windows\r\n"},
    {"empty file becomes one empty line", kBootSafeKey, 1, "", "\r\n"},
    {"last line gets its line end", kBootSafeKey, 0, "[Options]\r\nBootGUI=1",
     "[Options]\r\nBOOTSAFE=0\r\nBOOTGUI=1\r\n"},
    {"LF-only file is one single line", kBootSafeKey, 1, "[Options]\nBootSafe=0\n",
     "[Options]\nBootSafe=0\n\r\n"},
    {"CR alone ends lines", kBootSafeKey, 0, "[Options]\rBootSafe=1\r",
     "[Options]\r\nBOOTSAFE=0\r\n"},
    {"an LF after a line end is part of the next line", kBootSafeKey, 1, "[Options]\r\n\na=1\r\n",
     "[Options]\r\nBOOTSAFE=1\r\n\nA=1\r\n"},
    {"Ctrl-Z ends the text", kBootSafeKey, 1,
     "[Options]\r\nBootGUI=1\r\n\x1a"
     "BootSafe=0\r\n",
     "[Options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n"},
    {"Ctrl-Z inside a line", kBootSafeKey, 1, "[Options]\r\nBoot\x1aGUI=1\r\n",
     "[Options]\r\nBOOTSAFE=1\r\nBOOT\r\n"},
    {"Ctrl-Z right after the header", kBootSafeKey, 0, "[Options]\r\n\x1a\r\nBootSafe=1\r\n",
     "[Options]\r\nBOOTSAFE=0\r\n"},
    {"only a..z are upper-cased", kBootSafeKey, 1, "[Options]\r\nWinDir=C:\\Fen\xeatres\r\n",
     "[Options]\r\nBOOTSAFE=1\r\nWINDIR=C:\\FEN\xeaTRES\r\n"},
    {"a lower-case key prefix is taken in upper case", "bootsafe=", 0,
     "[Options]\r\nBootSafe=1\r\n", "[Options]\r\nBOOTSAFE=0\r\n"},
};

TEST(SetBootOptionTest, RewritesTheFileByteForByte) {
  for (const RewriteCase& c : kRewriteCases) {
    SCOPED_TRACE(c.name);
    TestDrive drive;
    PlaceBootFile(drive, c.before);
    RecordedMessages messages;
    BootOptionEditor editor(drive.files(), messages);
    EXPECT_TRUE(editor.SetBootOption(c.key, c.value));
    EXPECT_TRUE(BootFileIs(drive, c.after));
    EXPECT_TRUE(NoWorkingFiles(drive));
    EXPECT_TRUE(messages.shown.empty());
  }
}

TEST(SetBootOptionTest, LinesLongerThanTheBlocksGoThroughWhole) {
  TestDrive drive;
  const std::string long_line(2 * 1024 * 1024 + 3, 'k');
  std::string upper_line(long_line.size(), 'K');
  PlaceBootFile(drive, long_line + "\r\n[Options]\r\n" + long_line + "\r\n");
  RecordedMessages messages;
  EXPECT_TRUE(BootOptionEditor(drive.files(), messages).SetBootOption(kBootSafeKey, 1));
  EXPECT_TRUE(
      BootFileIs(drive, long_line + "\r\n[Options]\r\nBOOTSAFE=1\r\n" + upper_line + "\r\n"));
}

struct SequenceCase {
  const char* name;
  std::string_view key;
  std::vector<std::uint8_t> values;
  std::vector<std::string> after_each;
};

TEST(SetBootOptionTest, CallsInARow) {
  const std::string start = "[Options]\r\nBootGUI=1\r\n";
  const std::string with1 = "[Options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n";
  const std::string with0 = "[Options]\r\nBOOTSAFE=0\r\nBOOTGUI=1\r\n";
  const std::string without = "[Options]\r\nBOOTGUI=1\r\n";
  const SequenceCase cases[] = {
      {"value 1 three times toggles the line", kBootSafeKey, {1, 1, 1}, {with1, without, with1}},
      {"value 0 twice is the same as once", kBootSafeKey, {0, 0}, {with0, with0}},
      {"0 then 1 then 0", kBootSafeKey, {0, 1, 0}, {with0, without, with0}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestDrive drive;
    PlaceBootFile(drive, start);
    RecordedMessages messages;
    BootOptionEditor editor(drive.files(), messages);
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      SCOPED_TRACE("call " + std::to_string(i + 1));
      EXPECT_TRUE(editor.SetBootOption(c.key, c.values[i]));
      EXPECT_TRUE(BootFileIs(drive, c.after_each[i]));
    }
    EXPECT_TRUE(NoWorkingFiles(drive));
  }
}

TEST(SetBootOptionTest, WorkingFilesLeftByAnEarlierCallAreReused) {
  TestDrive drive;
  PlaceBootFile(drive, "[Options]\r\n");
  drive.WriteFile(kBootBufferPath, "stale buffer content that is long\r\n");
  drive.WriteFile(kBootNewPath, "stale new content that is long\r\n");
  RecordedMessages messages;
  EXPECT_TRUE(BootOptionEditor(drive.files(), messages).SetBootOption(kBootKeysKey, 0));
  EXPECT_TRUE(BootFileIs(drive, "[Options]\r\nBOOTKEYS=0\r\n"));
  EXPECT_TRUE(NoWorkingFiles(drive));
}

TEST(SetBootOptionTest, MissingFileRaisesFileNotFoundAndCreatesNothing) {
  TestDrive drive;
  RecordedMessages messages;
  BootOptionEditor editor(drive.files(), messages);
  try {
    editor.SetBootOption(kBootSafeKey, 1);
    ADD_FAILURE() << "no error raised";
  } catch (const core::IoError& error) {
    EXPECT_EQ(error.code(), platform::kErrorFileNotFound);
    EXPECT_STREQ(error.what(), "File not found");
  }
  EXPECT_FALSE(drive.Exists(kBootConfigPath));
  EXPECT_TRUE(NoWorkingFiles(drive));
  EXPECT_TRUE(messages.shown.empty());
}

struct BlockedCase {
  const char* name;
  const char* blocked;
};

TEST(SetBootOptionTest, AnUnwritableWorkingFileLeavesTheBootFileUntouched) {
  const BlockedCase cases[] = {
      {"buffer", kBootBufferPath},
      {"new file", kBootNewPath},
  };
  const std::string before = "[Options]\r\nBootSafe=1\r\n";
  for (const BlockedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestDrive drive;
    PlaceBootFile(drive, before);
    drive.WriteFile(c.blocked, "someone else's\r\n");
    drive.MakeUnwritable(c.blocked);
    RecordedMessages messages;
    EXPECT_THROW(BootOptionEditor(drive.files(), messages).SetBootOption(kBootSafeKey, 0),
                 core::IoError);
    drive.RestoreWritable(c.blocked);
    EXPECT_TRUE(BootFileIs(drive, before));
    EXPECT_TRUE(messages.shown.empty());
    // The blocked file was not ours to remove; the one this call did create is gone again.
    EXPECT_EQ(drive.ReadFile(c.blocked), "someone else's\r\n");
    const char* other = c.blocked == kBootBufferPath ? kBootNewPath : kBootBufferPath;
    EXPECT_FALSE(drive.Exists(other));
  }
}

TEST(SetBootOptionTest, OldFileThatCannotStepAsideKeepsItsContent) {
  TestDrive drive;
  const std::string before = "[Options]\r\nBootGUI=1\r\n";
  PlaceBootFile(drive, before);
  FaultFileSystem faults(drive.files());
  faults.FailOperation("Rename", kBootConfigPath);
  RecordedMessages messages;
  EXPECT_FALSE(BootOptionEditor(faults, messages).SetBootOption(kBootSafeKey, 1));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not rename"});
  EXPECT_TRUE(BootFileIs(drive, before));
  // The new content stays where pass 3 wrote it.
  EXPECT_EQ(drive.ReadFile(kBootNewPath), "[Options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n");
  EXPECT_FALSE(drive.Exists(kBootBufferPath));
  EXPECT_FALSE(drive.Exists(core::kBootOldPath));
}

TEST(SetBootOptionTest, FailedRenameOfTheNewFilePutsTheOldFileBack) {
  TestDrive drive;
  const std::string before = "[Options]\r\nBootGUI=1\r\n\x1atrailing bytes are kept too";
  PlaceBootFile(drive, before);
  FaultFileSystem faults(drive.files());
  faults.FailOperation("Rename", core::kBootNewPathForRename);
  RecordedMessages messages;
  EXPECT_FALSE(BootOptionEditor(faults, messages).SetBootOption(kBootSafeKey, 1));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not rename"});
  EXPECT_TRUE(BootFileIs(drive, before));
  EXPECT_FALSE(drive.Exists(core::kBootOldPath));
  EXPECT_EQ(drive.ReadFile(kBootNewPath), "[Options]\r\nBOOTSAFE=1\r\nBOOTGUI=1\r\n");
}

// The new file cannot take the name and the old one cannot go back: no c:\Msdos.sys for now,
// but both copies are whole, and the next start puts one in place, with its attributes.
TEST(SetBootOptionTest, WhenTheOldFileCannotGoBackTheNextStartRestoresTheBootFile) {
  TestDrive drive;
  PlaceBootFile(drive, "[Options]\r\n");
  FaultFileSystem faults(drive.files());
  faults.FailOperation("Rename", core::kBootNewPathForRename);
  faults.FailNth("Rename", 3, platform::kErrorAccessDenied);
  RecordedMessages messages;
  EXPECT_FALSE(BootOptionEditor(faults, messages).SetBootOption(kBootSafeKey, 0));
  EXPECT_EQ(faults.nth_call(), std::string("Rename ") + core::kBootOldPath);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not rename"});
  EXPECT_FALSE(drive.Exists(kBootConfigPath));

  RecordedMessages start;
  core::RecoverBootConfig(drive.files(), start);
  EXPECT_EQ(start.shown, std::vector<std::string>{core::kBootRestoredMessage});
  EXPECT_TRUE(BootFileIs(drive, "[Options]\r\nBOOTSAFE=0\r\n"));
  EXPECT_TRUE(NoWorkingFiles(drive));
  EXPECT_FALSE(drive.Exists(core::kBootOldPath));
}

TEST(SetBootOptionTest, AFullDiskIsReportedAsDiskFull) {
  TestDrive drive;
  const std::string before = "[Options]\r\nBootGUI=1\r\n";
  PlaceBootFile(drive, before);
  FaultFileSystem faults(drive.files());
  faults.ShortWrites(true);
  RecordedMessages messages;
  try {
    BootOptionEditor(faults, messages).SetBootOption(kBootSafeKey, 1);
    ADD_FAILURE() << "no error raised";
  } catch (const core::IoError& error) {
    EXPECT_STREQ(error.what(), "Disk full");
  }
  EXPECT_TRUE(BootFileIs(drive, before));
  EXPECT_TRUE(NoWorkingFiles(drive));
}

// Each call of a clean run fails in turn. A failed checked step raises its error and leaves
// c:\Msdos.sys exactly as it was; a failed unchecked step never leaves it missing, and the
// result says which content it holds.
TEST(SetBootOptionTest, EveryFailingStepLeavesAWholeBootFile) {
  const std::string before = "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootSafe=0\r\n";
  const std::string after = "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\n";
  int total = 0;
  {
    TestDrive drive;
    PlaceBootFile(drive, before);
    FaultFileSystem counting(drive.files());
    RecordedMessages messages;
    ASSERT_TRUE(BootOptionEditor(counting, messages).SetBootOption(kBootSafeKey, 1));
    total = counting.calls();
  }
  ASSERT_GT(total, 10);
  for (int n = 1; n <= total; ++n) {
    TestDrive drive;
    PlaceBootFile(drive, before);
    FaultFileSystem faults(drive.files());
    faults.FailCall(n, 1117);
    RecordedMessages messages;
    bool raised = false;
    bool result = false;
    try {
      result = BootOptionEditor(faults, messages).SetBootOption(kBootSafeKey, 1);
    } catch (const core::IoError& error) {
      raised = true;
      EXPECT_EQ(error.code(), 1117u);
    }
    const std::string failed = faults.log()[n - 1];
    SCOPED_TRACE("call " + std::to_string(n) + " failed: " + failed);
    ASSERT_TRUE(drive.Exists(kBootConfigPath));
    if (raised) {
      EXPECT_TRUE(BootFileIs(drive, before));
      EXPECT_TRUE(NoWorkingFiles(drive));
      EXPECT_TRUE(messages.shown.empty());
    } else if (result) {
      EXPECT_EQ(drive.ReadFile(kBootConfigPath), after);
      EXPECT_TRUE(messages.shown.empty());
    } else {
      EXPECT_EQ(drive.ReadFile(kBootConfigPath), before);
      EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not rename"});
    }
  }
}

// The real backend's own refusals: under Wine, an open handle without delete sharing makes
// DeleteFileA or MoveFileA fail, as any other program holding the file would. Held: the boot file
// itself (its delete fails), or a stale c:\Msdos2.zvk (the new file cannot take its name).
TEST(SetBootOptionTest, HeldFileStopsTheReplacement) {
  if (!TestDrive::IsWin32()) {
    GTEST_SKIP() << "the portable backend has no sharing rules";
  }
  for (const char* held_path : {kBootConfigPath, kBootNewPath}) {
    SCOPED_TRACE(held_path);
    TestDrive drive;
    const std::string before = "[Options]\r\nBootGUI=1\r\n";
    PlaceBootFile(drive, before);
    if (!drive.Exists(held_path)) {
      drive.WriteFile(held_path, "");
    }
    platform::FileHandle held = platform::kNoHandle;
    ASSERT_EQ(drive.files().Open(held_path, platform::Access::kRead,
                                 platform::Disposition::kOpenExisting, held),
              platform::kNoError);
    RecordedMessages messages;
    const bool result = BootOptionEditor(drive.files(), messages).SetBootOption(kBootSafeKey, 1);
    drive.files().Close(held);
    EXPECT_FALSE(result);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not rename"});
    EXPECT_TRUE(BootFileIs(drive, before));
  }
}

TEST(IsOptionsHeaderTest, ExactHeaderInAnyLetterCase) {
  EXPECT_TRUE(core::IsOptionsHeader("[OPTIONS]"));
  EXPECT_TRUE(core::IsOptionsHeader("[Options]"));
  EXPECT_TRUE(core::IsOptionsHeader("[oPtIoNs]"));
  EXPECT_FALSE(core::IsOptionsHeader("[OPTIONS] "));
  EXPECT_FALSE(core::IsOptionsHeader(" [OPTIONS]"));
  EXPECT_FALSE(core::IsOptionsHeader("[OPTION]"));
  EXPECT_FALSE(core::IsOptionsHeader("OPTIONS"));
  EXPECT_FALSE(core::IsOptionsHeader(""));
  EXPECT_EQ(core::UpperCaseAscii("az\xe9\xff[]{}09"), "AZ\xe9\xff[]{}09");
}

}  // namespace
