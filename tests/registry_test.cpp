// The registry interface as both backends must keep it: natively the in-memory registry, under
// Wine the Win32 registry of the test prefix. Every test works below one scratch key, removed
// before and after it.
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/portable/memory_registry.h"
#include "tests/test_registry.h"

namespace {

using platform::ErrorCode;
using platform::RegistryKey;
using platform::RegistryValue;

constexpr char kScratch[] = "SOFTWARE\\Korvane Unit Tests";

std::string Sub(const std::string& relative) {
  return std::string(kScratch) + "\\" + relative;
}

class RegistryTest : public testing::Test {
 protected:
  RegistryTest() : registry_(testing_support::MakeTestRegistry()) {
    registry_->DeleteKeyTree(kScratch);
  }
  ~RegistryTest() override { registry_->DeleteKeyTree(kScratch); }

  std::unique_ptr<RegistryKey> Create(const std::string& path) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry_->OpenKey(path, true, key), platform::kNoError) << path;
    return key;
  }

  testing::AssertionResult HasValue(const std::string& path, const std::string& name,
                                    std::uint32_t type, const std::string& data) {
    std::unique_ptr<RegistryKey> key;
    if (registry_->OpenKey(path, false, key) != platform::kNoError) {
      return testing::AssertionFailure() << "cannot open " << path;
    }
    RegistryValue value;
    const ErrorCode read = key->ReadValue(name, value);
    if (read != platform::kNoError) {
      return testing::AssertionFailure() << "read error " << read;
    }
    if (value.type != type) {
      return testing::AssertionFailure() << "type " << value.type;
    }
    if (value.data != data) {
      return testing::AssertionFailure() << "data " << testing::PrintToString(value.data);
    }
    return testing::AssertionSuccess();
  }

  std::unique_ptr<platform::Registry> registry_;
};

TEST_F(RegistryTest, OpeningAMissingKeyWithoutCreatingFails) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry_->OpenKey(Sub("Missing"), false, key), platform::kErrorFileNotFound);
  EXPECT_EQ(key, nullptr);
  EXPECT_FALSE(registry_->KeyExists(Sub("Missing")));
  EXPECT_FALSE(registry_->KeyExists(kScratch));
}

TEST_F(RegistryTest, CreatingMakesEveryKeyAlongThePath) {
  ASSERT_NE(Create(Sub("One\\Two\\Three")), nullptr);
  EXPECT_TRUE(registry_->KeyExists(kScratch));
  EXPECT_TRUE(registry_->KeyExists(Sub("One")));
  EXPECT_TRUE(registry_->KeyExists(Sub("One\\Two")));
  EXPECT_TRUE(registry_->KeyExists(Sub("One\\Two\\Three")));
  EXPECT_FALSE(registry_->KeyExists(Sub("One\\Three")));
}

TEST_F(RegistryTest, KeyNamesIgnoreLetterCase) {
  Create(Sub("Mixed Case"))->WriteString("v", "x");
  EXPECT_TRUE(registry_->KeyExists("software\\korvane unit tests\\MIXED CASE"));
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry_->OpenKey("SOFTWARE\\KORVANE UNIT TESTS\\mixed case", true, key),
            platform::kNoError);
  EXPECT_TRUE(key->ValueExists("v"));
}

TEST_F(RegistryTest, ValuesAreStoredByteForByte) {
  struct Case {
    const char* name;
    bool is_string;
    std::string text;
    bool flag;
    std::uint32_t type;
    std::string bytes;
  };
  const Case cases[] = {
      {"path", true, "C:\\Korvane\\Korvane.exe", false, platform::kRegString,
       std::string("C:\\Korvane\\Korvane.exe\0", 23)},
      {"empty", true, "", false, platform::kRegString, std::string("\0", 1)},
      {"eight bit", true, "caf\xE9", false, platform::kRegString, std::string("caf\xE9\0", 5)},
      {"on", false, "", true, platform::kRegDword, std::string("\x01\x00\x00\x00", 4)},
      {"off", false, "", false, platform::kRegDword, std::string("\x00\x00\x00\x00", 4)},
  };
  std::unique_ptr<RegistryKey> key = Create(kScratch);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ErrorCode written =
        c.is_string ? key->WriteString(c.name, c.text) : key->WriteBool(c.name, c.flag);
    ASSERT_EQ(written, platform::kNoError);
    EXPECT_TRUE(HasValue(kScratch, c.name, c.type, c.bytes));
  }
}

TEST_F(RegistryTest, AWriteReplacesTheValueAndItsType) {
  std::unique_ptr<RegistryKey> key = Create(kScratch);
  ASSERT_EQ(key->WriteBool("v", true), platform::kNoError);
  ASSERT_EQ(key->WriteString("V", "text"), platform::kNoError);
  EXPECT_TRUE(HasValue(kScratch, "v", platform::kRegString, std::string("text\0", 5)));
  ASSERT_EQ(key->WriteBool("v", false), platform::kNoError);
  EXPECT_TRUE(HasValue(kScratch, "v", platform::kRegDword, std::string(4, '\0')));
}

TEST_F(RegistryTest, ValueNamesIgnoreLetterCaseAndDeleteReportsAMissingValue) {
  std::unique_ptr<RegistryKey> key = Create(kScratch);
  EXPECT_FALSE(key->ValueExists("Z-V-K-Korvane"));
  EXPECT_EQ(key->DeleteValue("Z-V-K-Korvane"), platform::kErrorFileNotFound);
  RegistryValue value;
  EXPECT_EQ(key->ReadValue("Z-V-K-Korvane", value), platform::kErrorFileNotFound);

  ASSERT_EQ(key->WriteString("Z-V-K-Korvane", "a"), platform::kNoError);
  ASSERT_EQ(key->WriteString("neighbour", "b"), platform::kNoError);
  EXPECT_TRUE(key->ValueExists("z-v-k-korvane"));
  EXPECT_EQ(key->DeleteValue("Z-V-K-KORVANE"), platform::kNoError);
  EXPECT_FALSE(key->ValueExists("Z-V-K-Korvane"));
  EXPECT_TRUE(key->ValueExists("neighbour"));
}

TEST_F(RegistryTest, DeletingATreeRemovesEverySubkeyAndValue) {
  // Several siblings at each level: deleting while enumerating by index would skip some.
  for (const char* path : {"Top\\A\\A1", "Top\\A\\A2\\Deep", "Top\\A\\A3", "Top\\B", "Top\\C"}) {
    Create(Sub(path))->WriteString("value", path);
  }
  Create(Sub("Top"))->WriteBool("cancel", true);
  Create(Sub("Beside"))->WriteString("kept", "yes");

  EXPECT_EQ(registry_->DeleteKeyTree(Sub("top")), platform::kNoError);
  EXPECT_FALSE(registry_->KeyExists(Sub("Top")));
  EXPECT_FALSE(registry_->KeyExists(Sub("Top\\A\\A2\\Deep")));
  EXPECT_TRUE(registry_->KeyExists(kScratch));
  EXPECT_TRUE(HasValue(Sub("Beside"), "kept", platform::kRegString, std::string("yes\0", 4)));

  // Made again, the key starts empty.
  Create(Sub("Top"));
  EXPECT_FALSE(registry_->KeyExists(Sub("Top\\A")));
  std::unique_ptr<RegistryKey> key = Create(Sub("Top"));
  EXPECT_FALSE(key->ValueExists("cancel"));
}

TEST_F(RegistryTest, DeletingAMissingTreeReportsIt) {
  EXPECT_EQ(registry_->DeleteKeyTree(Sub("Missing\\Deeper")), platform::kErrorFileNotFound);
  EXPECT_EQ(registry_->DeleteKeyTree(Sub("Missing")), platform::kErrorFileNotFound);
}

TEST_F(RegistryTest, TheRootItselfIsNeverDeleted) {
  Create(kScratch);
  for (const char* root : {"", "\\", "\\\\"}) {
    SCOPED_TRACE(testing::PrintToString(root));
    EXPECT_NE(registry_->DeleteKeyTree(root), platform::kNoError);
    EXPECT_TRUE(registry_->KeyExists(kScratch));
  }
}

TEST_F(RegistryTest, AKeyHandleIsUsableUntilItIsDestroyed) {
  std::unique_ptr<RegistryKey> first = Create(kScratch);
  std::unique_ptr<RegistryKey> second = Create(kScratch);
  ASSERT_EQ(first->WriteString("shared", "one"), platform::kNoError);
  EXPECT_TRUE(second->ValueExists("shared"));
  first.reset();
  EXPECT_EQ(second->WriteString("shared", "two"), platform::kNoError);
  EXPECT_TRUE(HasValue(kScratch, "shared", platform::kRegString, std::string("two\0", 4)));
}

TEST_F(RegistryTest, WritesThroughADeletedKeyFail) {
  std::unique_ptr<RegistryKey> key = Create(Sub("Doomed"));
  ASSERT_EQ(registry_->DeleteKeyTree(Sub("Doomed")), platform::kNoError);
  EXPECT_NE(key->WriteString("late", "x"), platform::kNoError);
  EXPECT_FALSE(registry_->KeyExists(Sub("Doomed")));
}

TEST(MemoryRegistryTest, RefusedWritesChangeNothing) {
  platform::MemoryRegistry registry;
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry.OpenKey("SOFTWARE\\Scratch", true, key), platform::kNoError);
  ASSERT_EQ(key->WriteString("kept", "old"), platform::kNoError);

  registry.RefuseWrites(true);
  EXPECT_EQ(key->WriteString("kept", "new"), platform::kErrorAccessDenied);
  EXPECT_EQ(key->WriteBool("flag", true), platform::kErrorAccessDenied);
  RegistryValue value;
  ASSERT_EQ(key->ReadValue("kept", value), platform::kNoError);
  EXPECT_EQ(value.data, std::string("old\0", 4));
  EXPECT_FALSE(key->ValueExists("flag"));

  registry.RefuseWrites(false);
  EXPECT_EQ(key->WriteBool("flag", true), platform::kNoError);
}

TEST(MemoryRegistryTest, CountsKeysAndValuesOfTheWholeTree) {
  platform::MemoryRegistry registry;
  EXPECT_EQ(registry.KeyCount(), 0);
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry.OpenKey("A\\B\\C", true, key), platform::kNoError);
  key->WriteString("x", "1");
  key->WriteString("X", "2");
  EXPECT_EQ(registry.KeyCount(), 3);
  EXPECT_EQ(registry.ValueCount(), 1);
}

}  // namespace
