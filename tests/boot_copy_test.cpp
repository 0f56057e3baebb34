// The rewrite when the tail holds a key line, so nothing is inserted and the buffer is copied to
// the new file as bytes: line ends of every kind, a line longer than a block, a Ctrl-Z.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/boot_options.h"
#include "tests/test_drive.h"

namespace {

class NoMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

TEST(BootCopyTest, AFoundKeyLineGivesTheLinesOfTheBufferExactly) {
  const std::string long_line(std::size_t{3} * 70000, 'm');
  const std::string before = "[Paths]\rWin\nDir=x\r\n[Options]\r" + long_line +
                             "\r\nBootSafe=1\r\ra\nb\r\n\nBootSafe=0\r\nend\x1azz\r\n";
  const std::string upper_line(long_line.size(), 'M');
  const std::string head = "[Paths]\r\nWin\nDir=x\r\n[Options]\r\n" + upper_line + "\r\n";
  struct Case {
    std::uint8_t value;
    std::string after;
  };
  const Case cases[] = {
      {0, head + "BOOTSAFE=0\r\n\r\nA\nB\r\n\nBOOTSAFE=0\r\nEND\r\n"},
      {1, head + "\r\nA\nB\r\n\nBOOTSAFE=0\r\nEND\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.value));
    testing_support::TestDrive drive;
    drive.WriteFile(core::kBootConfigPath, before);
    NoMessages messages;
    EXPECT_TRUE(
        core::BootOptionEditor(drive.files(), messages).SetBootOption(core::kBootSafeKey, c.value));
    EXPECT_EQ(testing_support::Visible(drive.ReadFile(core::kBootConfigPath)),
              testing_support::Visible(c.after));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(drive.Exists(core::kBootBufferPath));
    EXPECT_FALSE(drive.Exists(core::kBootNewPath));
  }
}

}  // namespace
