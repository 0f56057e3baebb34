// The registry steps of the autostart, Cancel and uninstall commands. Natively against the
// in-memory registry; under Wine against the test prefix's registry, where each test removes
// the autostart entry and the product's keys before and after itself.
#include "core/product_settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/errors.h"
#include "platform/portable/memory_registry.h"
#include "tests/test_registry.h"

namespace {

using platform::RegistryKey;
using platform::RegistryValue;

constexpr char kVendorKey[] = "SOFTWARE\\Tarnwick Keep";
constexpr char kNeighbour[] = "Korvane test neighbour";

// Removes what the tests touch: the autostart entry, a neighbouring value beside it, and the
// vendor key with the product's key below it.
void RemoveTouched(platform::Registry& registry) {
  std::unique_ptr<RegistryKey> key;
  if (registry.OpenKey(core::kRunServicesKey, false, key) == platform::kNoError) {
    key->DeleteValue(core::kAutostartValue);
    key->DeleteValue(kNeighbour);
  }
  registry.DeleteKeyTree(kVendorKey);
}

class ProductSettingsTest : public testing::Test {
 protected:
  ProductSettingsTest() : registry_(testing_support::MakeTestRegistry()) {
    RemoveTouched(*registry_);
  }
  ~ProductSettingsTest() override { RemoveTouched(*registry_); }

  std::unique_ptr<RegistryKey> Open(const std::string& path, bool create) {
    std::unique_ptr<RegistryKey> key;
    registry_->OpenKey(path, create, key);
    return key;
  }

  testing::AssertionResult Holds(const std::string& path, const std::string& name,
                                 std::uint32_t type, const std::string& data) {
    std::unique_ptr<RegistryKey> key = Open(path, false);
    if (key == nullptr) {
      return testing::AssertionFailure() << "no key " << path;
    }
    RegistryValue value;
    if (key->ReadValue(name, value) != platform::kNoError) {
      return testing::AssertionFailure() << "no value " << name;
    }
    if (value.type != type || value.data != data) {
      return testing::AssertionFailure()
             << "type " << value.type << ", data " << testing::PrintToString(value.data);
    }
    return testing::AssertionSuccess();
  }

  testing::AssertionResult AutostartHolds(const std::string& path) {
    return Holds(core::kRunServicesKey, core::kAutostartValue, platform::kRegString,
                 path + std::string(1, '\0'));
  }

  bool AutostartExists() {
    std::unique_ptr<RegistryKey> key = Open(core::kRunServicesKey, false);
    return key != nullptr && key->ValueExists(core::kAutostartValue);
  }

  std::unique_ptr<platform::Registry> registry_;
};

TEST_F(ProductSettingsTest, OpeningTheAutostartKeyCreatesIt) {
  EXPECT_TRUE(core::OpenAutostartKey(*registry_));
  EXPECT_TRUE(registry_->KeyExists(core::kRunServicesKey));
  EXPECT_FALSE(AutostartExists());
}

TEST_F(ProductSettingsTest, EnablingStoresThePathExactlyAsChosen) {
  const std::string paths[] = {
      "C:\\Korvane\\Korvane.exe",
      "C:\\Program Files\\Tarnwick Keep\\Korvane.exe",  // spaces stay unquoted
      "c:\\k\\caf\xE9.exe",
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    core::EnableAutostart(*registry_, path);
    EXPECT_TRUE(AutostartHolds(path));
  }
}

TEST_F(ProductSettingsTest, EnablingTwiceLeavesOneValueWithTheSecondPath) {
  core::EnableAutostart(*registry_, "C:\\First\\Korvane.exe");
  core::EnableAutostart(*registry_, "D:\\Second\\Korvane.exe");
  EXPECT_TRUE(AutostartHolds("D:\\Second\\Korvane.exe"));
  if (platform::MemoryRegistry* memory = testing_support::AsMemoryRegistry(*registry_)) {
    EXPECT_EQ(memory->ValueCount(), 1);
  }
}

TEST_F(ProductSettingsTest, EnablingReplacesAnEntryOfAnotherType) {
  Open(core::kRunServicesKey, true)->WriteBool(core::kAutostartValue, true);
  core::EnableAutostart(*registry_, "C:\\Korvane.exe");
  EXPECT_TRUE(AutostartHolds("C:\\Korvane.exe"));
}

TEST_F(ProductSettingsTest, DisablingRemovesOnlyTheAutostartEntry) {
  core::EnableAutostart(*registry_, "C:\\Korvane.exe");
  Open(core::kRunServicesKey, true)->WriteString(kNeighbour, "C:\\Other.exe");
  core::DisableAutostart(*registry_);
  EXPECT_FALSE(AutostartExists());
  EXPECT_TRUE(Holds(core::kRunServicesKey, kNeighbour, platform::kRegString,
                    std::string("C:\\Other.exe\0", 13)));
}

TEST_F(ProductSettingsTest, DisablingWithoutAnEntryIsSilent) {
  EXPECT_NO_THROW(core::DisableAutostart(*registry_));
  EXPECT_NO_THROW(core::DisableAutostart(*registry_));
  EXPECT_FALSE(AutostartExists());
}

TEST_F(ProductSettingsTest, CancelOnAMissingProductKeyCreatesNothing) {
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    EXPECT_FALSE(core::SetCancel(*registry_, enabled));
    EXPECT_FALSE(registry_->KeyExists(core::kProductKey));
    EXPECT_FALSE(registry_->KeyExists(kVendorKey));
  }
  if (platform::MemoryRegistry* memory = testing_support::AsMemoryRegistry(*registry_)) {
    EXPECT_EQ(memory->KeyCount(), 0);
  }
}

TEST_F(ProductSettingsTest, CancelIsWrittenAsADwordWhenTheProductKeyExists) {
  struct Case {
    bool enabled;
    std::string bytes;
  };
  const Case cases[] = {
      {true, std::string("\x01\x00\x00\x00", 4)},
      {false, std::string("\x00\x00\x00\x00", 4)},
      {true, std::string("\x01\x00\x00\x00", 4)},
  };
  Open(core::kProductKey, true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.enabled);
    EXPECT_TRUE(core::SetCancel(*registry_, c.enabled));
    EXPECT_TRUE(Holds(core::kProductKey, core::kCancelValue, platform::kRegDword, c.bytes));
  }
}

TEST_F(ProductSettingsTest, CancelFindsTheProductKeyWhateverItsLetterCase) {
  Open("software\\TARNWICK KEEP\\korvane", true);
  EXPECT_TRUE(core::SetCancel(*registry_, true));
  EXPECT_TRUE(
      Holds(core::kProductKey, "CANCEL", platform::kRegDword, std::string("\x01\x00\x00\x00", 4)));
}

TEST_F(ProductSettingsTest, UninstallRemovesTheEntryAndTheWholeProductKey) {
  core::EnableAutostart(*registry_, "C:\\Korvane.exe");
  Open(core::kRunServicesKey, true)->WriteString(kNeighbour, "C:\\Other.exe");
  Open(core::kProductKey, true)->WriteBool(core::kCancelValue, true);
  for (const char* sub : {"\\Users\\Slot1", "\\Users\\Slot2\\Deep", "\\Users\\Slot3", "\\Log"}) {
    Open(std::string(core::kProductKey) + sub, true)->WriteString("data", sub);
  }

  core::RemoveProductSettings(*registry_);

  EXPECT_FALSE(AutostartExists());
  EXPECT_FALSE(registry_->KeyExists(core::kProductKey));
  EXPECT_FALSE(registry_->KeyExists(std::string(core::kProductKey) + "\\Users\\Slot2\\Deep"));
  // Only the product's own key goes; the vendor key and the other autostart entries stay.
  EXPECT_TRUE(registry_->KeyExists(kVendorKey));
  EXPECT_TRUE(Holds(core::kRunServicesKey, kNeighbour, platform::kRegString,
                    std::string("C:\\Other.exe\0", 13)));
}

TEST_F(ProductSettingsTest, UninstallWithNothingToRemoveIsSilent) {
  EXPECT_NO_THROW(core::RemoveProductSettings(*registry_));
  EXPECT_FALSE(registry_->KeyExists(core::kProductKey));
  EXPECT_FALSE(AutostartExists());
}

// Refused writes need the in-memory registry in both flavours.
TEST(ProductSettingsRefusalTest, ARefusedAutostartWriteRaisesTheValueNameAndKeepsTheOldEntry) {
  platform::MemoryRegistry registry;
  core::EnableAutostart(registry, "C:\\Old\\Korvane.exe");
  registry.RefuseWrites(true);
  try {
    core::EnableAutostart(registry, "C:\\New\\Korvane.exe");
    FAIL() << "no error raised";
  } catch (const core::RegistryWriteError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'Z-V-K-Korvane'");
    EXPECT_EQ(error.code(), platform::kErrorAccessDenied);
    // The quote sorts below the full stop, so the error box shows the text as it is.
    EXPECT_EQ(core::ErrorBoxText(error.what()), "Failed to set data for 'Z-V-K-Korvane'");
  }
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(registry.OpenKey(core::kRunServicesKey, false, key), platform::kNoError);
  RegistryValue value;
  ASSERT_EQ(key->ReadValue(core::kAutostartValue, value), platform::kNoError);
  EXPECT_EQ(value.data, std::string("C:\\Old\\Korvane.exe\0", 19));
}

TEST(ProductSettingsRefusalTest, ARefusedCancelWriteRaisesTheValueName) {
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    platform::MemoryRegistry registry;
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry.OpenKey(core::kProductKey, true, key), platform::kNoError);
    registry.RefuseWrites(true);
    try {
      core::SetCancel(registry, enabled);
      FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "Failed to set data for 'cancel'");
    }
    EXPECT_FALSE(key->ValueExists(core::kCancelValue));
  }
}

}  // namespace
