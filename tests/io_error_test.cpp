#include "core/io_error.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace core
