#include "core/databank_file.h"

#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "tests/test_drive.h"

namespace core {
namespace {

using testing_support::TestDrive;

constexpr std::size_t kEntry = 1536;

std::uint8_t At(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes.at(offset));
}

// One entry as the protection program expects it: two decoys, then the data record with each
// byte shifted by its position in its half. Built by hand here, apart from the code under test.
std::string EncodedEntry(const std::string& name, const std::string& password,
                         char decoy_byte = '\x5A') {
  std::string record(512, '\0');
  const std::string* halves[] = {&name, &password};
  for (int half = 0; half < 2; ++half) {
    std::string plain(256, '\0');
    plain[0] = static_cast<char>(halves[half]->size());
    plain.replace(1, halves[half]->size(), *halves[half]);
    for (int p = 0; p < 256; ++p) {
      record[half * 256 + p] = static_cast<char>(plain[p] + p);
    }
  }
  return std::string(1024, decoy_byte) + record;
}

// The filler byte at position p is (p + r) mod 256 with r in 0..254.
testing::AssertionResult IsFiller(const std::string& bytes, std::size_t offset) {
  const int r = static_cast<std::uint8_t>(At(bytes, offset) - offset % 256);
  if (r == 255) {
    return testing::AssertionFailure() << "byte at " << offset << " is p - 1";
  }
  return testing::AssertionSuccess();
}

class DatabankFileTest : public testing::Test {
 protected:
  // A clock that ticks by one millisecond per entry, so entries get different filler.
  DatabankFile MakeDatabank(UserTable& table) {
    return DatabankFile(drive_.files(), table, kDatabankPath, [this] { return ++clock_; });
  }

  std::string Databank() { return drive_.ReadFile(kDatabankPath); }

  TestDrive drive_;
  std::uint32_t clock_ = 1000;
};

TEST_F(DatabankFileTest, FirstStartCreatesAnEmptyFileAndQuitLeavesItEmpty) {
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  EXPECT_TRUE(databank.IsOpen());
  EXPECT_EQ(table.Count(), 0);
  ASSERT_TRUE(drive_.Exists(kDatabankPath));
  EXPECT_EQ(Databank().size(), 0u);  // created at once, before any save
  EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
  EXPECT_EQ(Databank().size(), 0u);
}

TEST_F(DatabankFileTest, TheWorkedExampleIsStoredByteForByte) {
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  table.AppendUser("abc", "");
  table.Slot(1).name.bytes[4] = 0x7A;      // the byte after the name is carried too
  table.Slot(1).password.bytes[1] = 0x10;  // an empty password still carries position 1
  databank.SaveDatabank();

  const std::string bytes = Databank();
  ASSERT_EQ(bytes.size(), kEntry);
  const std::size_t data = 1024;
  EXPECT_EQ(At(bytes, data + 0), 0x03);
  EXPECT_EQ(At(bytes, data + 1), 0x62);
  EXPECT_EQ(At(bytes, data + 2), 0x64);
  EXPECT_EQ(At(bytes, data + 3), 0x66);
  EXPECT_EQ(At(bytes, data + 4), 0x7E);
  for (std::size_t p = 5; p < 256; ++p) {
    EXPECT_TRUE(IsFiller(bytes, data + p));
  }
  EXPECT_EQ(At(bytes, data + 256), 0x00);
  EXPECT_EQ(At(bytes, data + 257), 0x11);
  for (std::size_t p = 2; p < 256; ++p) {
    EXPECT_TRUE(IsFiller(bytes, data + 256 + p));
  }
  for (std::size_t k = 0; k < 1024; ++k) {
    EXPECT_TRUE(IsFiller(bytes, k));
  }
}

TEST_F(DatabankFileTest, StringsOf254And255CharactersFillTheirWholeHalf) {
  for (const std::size_t length : {254u, 255u}) {
    UserTable table;
    DatabankFile databank = MakeDatabank(table);
    databank.OpenDatabank();
    table.SetCount(0);
    table.AppendUser(std::string(length, 'N'), std::string(length, 'P'));
    table.Slot(1).name.bytes[255] = 0xC3;  // for 254, the byte after the text is the last one
    databank.SaveDatabank();
    const std::string bytes = Databank();
    ASSERT_EQ(bytes.size(), kEntry);
    for (std::size_t p = 0; p < 256; ++p) {
      const std::uint8_t name_byte = table.Slot(1).name.bytes[p];
      const std::uint8_t password_byte = table.Slot(1).password.bytes[p];
      EXPECT_EQ(At(bytes, 1024 + p), static_cast<std::uint8_t>(name_byte + p)) << p;
      EXPECT_EQ(At(bytes, 1280 + p), static_cast<std::uint8_t>(password_byte + p)) << p;
    }
  }
}

TEST_F(DatabankFileTest, LoadingReadsOnlyTheDataRecordOfEachEntry) {
  const std::string data = EncodedEntry("abc", "secret").substr(1024);
  for (const char decoy : {'\0', '\xFF', 'q'}) {
    drive_.WriteFile(kDatabankPath, std::string(1024, decoy) + data);
    UserTable table;
    DatabankFile databank = MakeDatabank(table);
    databank.OpenDatabank();
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.NameOf(1), "abc");
    EXPECT_EQ(table.PasswordOf(1), "secret");
  }
}

TEST_F(DatabankFileTest, LoadingDecodesTheLiteralExampleBytes) {
  std::string entry(kEntry, '\0');
  const char stored[] = {0x03, 0x62, 0x64, 0x66};
  entry.replace(1024, 4, stored, 4);
  entry[1028] = static_cast<char>(0x7E);
  drive_.WriteFile(kDatabankPath, entry);
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.NameOf(1), "abc");
  EXPECT_EQ(table.Slot(1).name.bytes[4], 0x7A);  // every decoded byte lands in the slot
  EXPECT_EQ(table.PasswordOf(1), "");
  EXPECT_EQ(table.Slot(1).password.bytes[5], static_cast<std::uint8_t>(0 - 5));
}

TEST_F(DatabankFileTest, SaveThenLoadKeepsEveryUserInHisSlot) {
  UserTable table;
  DatabankFile first = MakeDatabank(table);
  first.OpenDatabank();
  for (int k = 1; k <= UserTable::kSlots; ++k) {
    table.AppendUser("user " + std::to_string(k), std::string(k, static_cast<char>(k)));
  }
  table.SetUserName(7, "");
  first.SaveDatabank();
  const std::string saved = Databank();
  ASSERT_EQ(saved.size(), kEntry * 255);

  UserTable loaded;
  DatabankFile second = MakeDatabank(loaded);
  second.OpenDatabank();
  ASSERT_EQ(loaded.Count(), 255);
  for (int k = 1; k <= 255; ++k) {
    EXPECT_EQ(loaded.NameOf(k), table.NameOf(k)) << k;
    EXPECT_EQ(loaded.PasswordOf(k), table.PasswordOf(k)) << k;
  }

  // Saving the same table again draws new filler and decoys but the same users.
  second.SaveDatabank();
  const std::string again = Databank();
  ASSERT_EQ(again.size(), saved.size());
  EXPECT_NE(again, saved);
  for (std::size_t entry = 0; entry < 255; ++entry) {
    const std::size_t data = entry * kEntry + 1024;
    const int name_length = At(saved, data);
    for (int p = 0; p < name_length + 2; ++p) {
      EXPECT_EQ(At(again, data + p), At(saved, data + p));
    }
  }
}

TEST_F(DatabankFileTest, FillerNeverTakesThePrecedingPositionsValueAndCoversTheRest) {
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  for (int k = 0; k < 40; ++k) {
    table.AppendUser("", "");
  }
  databank.SaveDatabank();
  const std::string bytes = Databank();
  std::set<int> offsets_seen;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    const std::size_t in_entry = k % kEntry;
    const std::size_t p = in_entry % 256;
    if (in_entry >= 1024 && p < 2) {
      continue;  // carried bytes of the empty strings
    }
    ASSERT_TRUE(IsFiller(bytes, k));
    offsets_seen.insert(static_cast<std::uint8_t>(At(bytes, k) - p));
  }
  EXPECT_EQ(offsets_seen.size(), 255u);
}

TEST_F(DatabankFileTest, TheGeneratorIsReseededFromTheClockAtEveryEntry) {
  UserTable table;
  DatabankFile databank(drive_.files(), table, kDatabankPath, [] { return 4242u; });
  databank.OpenDatabank();
  table.AppendUser("a", "b");
  table.AppendUser("c", "d");
  databank.SaveDatabank();
  const std::string bytes = Databank();
  ASSERT_EQ(bytes.size(), 2 * kEntry);
  // Same clock reading, same draws: both entries' decoys come out alike.
  EXPECT_EQ(bytes.substr(0, 1024), bytes.substr(kEntry, 1024));
}

TEST_F(DatabankFileTest, ATruncatedFileKeepsItsCompleteEntries) {
  drive_.WriteFile(kDatabankPath, EncodedEntry("Administrator", "root") +
                                      EncodedEntry("bob", "pw") + std::string(700, 'x'));
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  try {
    databank.OpenDatabank();
    FAIL() << "no error raised";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), kIoReadBeyondEnd);
    EXPECT_EQ(ErrorBoxText(error.what()), "Read beyond end of file.");
  }
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.NameOf(2), "bob");
  EXPECT_FALSE(table.HasAdminRights());  // strangers do not get the administrator features

  EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
  UserTable reloaded;
  DatabankFile again = MakeDatabank(reloaded);
  again.OpenDatabank();
  EXPECT_EQ(reloaded.UserNames(), (std::vector<std::string>{"Administrator", "bob"}));
}

TEST_F(DatabankFileTest, AFileShorterThanOneEntryLoadsNobody) {
  drive_.WriteFile(kDatabankPath, std::string(1535, 'x'));
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  EXPECT_THROW(databank.OpenDatabank(), IoError);
  EXPECT_EQ(table.Count(), 0);
}

TEST_F(DatabankFileTest, EntriesBeyondTheTablesCapacityAreCarriedThroughTheSave) {
  std::string file;
  for (int k = 1; k <= 257; ++k) {
    file += EncodedEntry("user" + std::to_string(k), "pw");
  }
  drive_.WriteFile(kDatabankPath, file);
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  EXPECT_EQ(table.Count(), 255);
  EXPECT_EQ(table.NameOf(255), "user255");
  EXPECT_EQ(databank.SurplusEntries(), 2u);
  EXPECT_FALSE(table.AppendUser("one more", ""));

  databank.SaveDatabank();
  const std::string saved = Databank();
  ASSERT_EQ(saved.size(), 257 * kEntry);
  EXPECT_EQ(saved.substr(256 * kEntry + 1024, 8), file.substr(256 * kEntry + 1024, 8));
}

TEST_F(DatabankFileTest, ADatabankThatCannotBeOpenedIsNeverReplaced) {
  const std::string original = EncodedEntry("Administrator", "root");
  drive_.WriteFile(kDatabankPath, original);
  drive_.MakeUnwritable(kDatabankPath);
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  try {
    databank.OpenDatabank();
    FAIL() << "opening an unwritable databank for writing succeeded";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), IoErrorMessage(TestDrive::IsWin32() ? 32 : 5));
  }
  EXPECT_FALSE(databank.IsOpen());
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kLeftUnchanged);
  drive_.RestoreWritable(kDatabankPath);
  EXPECT_EQ(Databank(), original);
}

TEST_F(DatabankFileTest, AnUnreadableDatabankOpensNoAdministratorFeatures) {
  // Held open without sharing under Wine, read-only natively: either way the open fails.
  drive_.WriteFile(kDatabankPath, EncodedEntry("Administrator", "root"));
  drive_.MakeUnwritable(kDatabankPath);
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  EXPECT_THROW(databank.OpenDatabank(), IoError);
  drive_.RestoreWritable(kDatabankPath);
  ASSERT_EQ(table.Count(), 0);
  EXPECT_FALSE(table.HasAdminRights());  // the users are in the file, not gone

  // A short last entry is only the end of the file: an empty databank stays open to set up.
  drive_.WriteFile(kDatabankPath, std::string(700, 'x'));
  UserTable fresh;
  DatabankFile short_file = MakeDatabank(fresh);
  EXPECT_THROW(short_file.OpenDatabank(), IoError);
  EXPECT_TRUE(fresh.HasAdminRights());
}

TEST_F(DatabankFileTest, AFailedSaveLeavesTheTableAndCanBeRepeated) {
  if (TestDrive::IsWin32()) {
    // Our own handle shares reading and writing, so nothing outside can refuse the re-create,
    // and Wine running as root ignores the read-only attribute.
    GTEST_SKIP() << "no way to make the re-create fail from outside under Wine";
  }
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  table.AppendUser("Administrator", "root");
  table.AppendUser("bob", "pw");
  // Something else makes the file read-only meanwhile: re-creating it fails.
  drive_.MakeUnwritable(kDatabankPath);
  try {
    databank.SaveDatabank();
    FAIL() << "saving over a read-only file succeeded";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), 5u);
  }
  // The old file is still there, open as at start-up, and nothing is left beside it.
  EXPECT_TRUE(databank.IsOpen());
  EXPECT_EQ(Databank().size(), 0u);
  EXPECT_FALSE(drive_.Exists(core::SideFileName(kDatabankPath, "new")));
  EXPECT_EQ(table.UserNames(), (std::vector<std::string>{"Administrator", "bob"}));

  drive_.RestoreWritable(kDatabankPath);
  EXPECT_EQ(databank.SaveDatabank(), SaveOutcome::kSaved);
  EXPECT_EQ(Databank().size(), 2 * kEntry);
}

TEST_F(DatabankFileTest, DeleteClosesAndRemovesTheFileAndRefusesAClosedHandle) {
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  databank.OpenDatabank();
  databank.DeleteDatabank();
  EXPECT_FALSE(drive_.Exists(kDatabankPath));
  try {
    databank.DeleteDatabank();
    FAIL() << "closing a closed databank succeeded";
  } catch (const IoError& error) {
    EXPECT_EQ(ErrorBoxText(error.what()), "I/O error 103.");
  }
}

TEST_F(DatabankFileTest, ADirectoryInThePlaceOfTheFileIsNotTakenForIt) {
  drive_.MakeDirectory(kDatabankPath);
  UserTable table;
  DatabankFile databank = MakeDatabank(table);
  EXPECT_THROW(databank.OpenDatabank(), IoError);  // creating over a directory fails
  EXPECT_FALSE(databank.IsOpen());
}

}  // namespace
}  // namespace core
