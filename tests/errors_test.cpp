#include "core/errors.h"

#include <gtest/gtest.h>

#include "platform/registry.h"

namespace core {
namespace {

TEST(IoErrorTest, MessageFollowsTheCode) {
  const struct {
    std::uint32_t code;
    const char* message;
  } cases[] = {
      {2, "File not found"},
      {3, "Invalid filename"},
      {4, "Too many open files"},
      {5, "File access denied"},
      {100, "Read beyond end of file"},
      {101, "Disk full"},
      {106, "Invalid numeric input"},
      {103, "I/O error 103"},
      {32, "I/O error 32"},
      {0, "I/O error 0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IoErrorMessage(c.code), c.message) << c.code;
    const IoError error(c.code);
    EXPECT_STREQ(error.what(), c.message);
    EXPECT_EQ(error.code(), c.code);
  }
}

TEST(IoErrorTest, ErrorBoxAppendsAFullStopOnlyAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText("File not found"), "File not found.");
  EXPECT_EQ(ErrorBoxText("I/O error 103"), "I/O error 103.");  // '3' sorts above '.'
  EXPECT_EQ(ErrorBoxText("Autostart enabled!"), "Autostart enabled!");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Failed to set data for 'cancel'"), "Failed to set data for 'cancel'");
  EXPECT_EQ(ErrorBoxText("a/"), "a/.");            // '/' is the character right above '.'
  EXPECT_EQ(ErrorBoxText("a-"), "a-");             // '-' is right below it
  EXPECT_EQ(ErrorBoxText("caf\xE9"), "caf\xE9.");  // 8-bit characters sort above it too
  EXPECT_EQ(ErrorBoxText(""), "");
}

// The one check every file operation goes through: a full disk reads "Disk full" whether the
// system said so by its code or a write came back short.
TEST(IoErrorTest, CheckIoRaisesTheErrorOfTheSystemsCode) {
  EXPECT_NO_THROW(CheckIo(platform::kNoError));
  const struct {
    platform::ErrorCode error;
    std::uint32_t code;
    const char* message;
  } cases[] = {
      {platform::kErrorFileNotFound, kIoFileNotFound, "File not found"},
      {platform::kErrorAccessDenied, kIoAccessDenied, "File access denied"},
      // The system's own full disk is not in the table; only a short write is "Disk full".
      {platform::kErrorDiskFull, 112, "I/O error 112"},
      {platform::kErrorShortWrite, kIoDiskFull, "Disk full"},
      {platform::kErrorSharingViolation, 32, "I/O error 32"},
  };
  for (const auto& c : cases) {
    try {
      CheckIo(c.error);
      ADD_FAILURE() << "nothing raised for " << c.error;
    } catch (const IoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.error;
      EXPECT_STREQ(error.what(), c.message) << c.error;
    }
  }
}

// The command runner catches one family: the registry's refusal carries its code like the I/O
// error does.
TEST(IoErrorTest, BothErrorsAreOfOneFamilyWithTheirCode) {
  try {
    throw RegistryWriteError("cancel", platform::kErrorAccessDenied);
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'cancel'");
    EXPECT_EQ(error.code(), platform::kErrorAccessDenied);
  }
  try {
    throw IoError(kIoReadBeyondEnd);
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Read beyond end of file");
    EXPECT_EQ(error.code(), kIoReadBeyondEnd);
  }
}

}  // namespace
}  // namespace core
