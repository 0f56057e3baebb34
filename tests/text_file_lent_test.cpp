// The copy-free ways through text files: lines lent in place by the reader, byte runs read and
// written as they stand, with blocks small enough to cut lines and line ends at every position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_file.h"
#include "tests/test_drive.h"

namespace {

using platform::kNoError;
using platform::TextLine;
using platform::TextReader;
using platform::TextWriter;
using testing_support::TestDrive;
using testing_support::Visible;

constexpr char kPath[] = "c:\\lent.txt";
const std::size_t kBlockSizes[] = {1, 2, 3, 5, 7, platform::kTextBlockSize};

// Lines of a text with CR alone, CR LF, LF inside a line, empty lines, a line longer than the
// small blocks and a Ctrl-Z with bytes after it.
const std::string kText = "one\r\n[Options]\rlong line here\r\n\r\na\nb\r\r\nlast\x1atrailing\r\n";
const std::vector<std::string> kLines = {"one", "[Options]", "long line here", "", "a\nb",
                                         "",    "last"};

TEST(TextReaderLentTest, LentLinesAreTheLinesAndMayBeChangedInPlace) {
  for (std::size_t block : kBlockSizes) {
    SCOPED_TRACE("block " + std::to_string(block));
    TestDrive drive;
    drive.WriteFile(kPath, kText);
    TextReader reader(drive.files(), block);
    ASSERT_EQ(reader.Open(kPath), kNoError);
    std::vector<std::string> lines;
    for (bool at_end = false; reader.AtEnd(at_end) == kNoError && !at_end;) {
      TextLine line;
      ASSERT_EQ(reader.ReadLine(line), kNoError);
      lines.emplace_back(line.view());
      // Spoiling the lent bytes must not reach the next line or the line ends after it.
      for (std::size_t i = 0; i < line.size; ++i) {
        line.data[i] = '#';
      }
    }
    EXPECT_EQ(lines, kLines);
    EXPECT_EQ(reader.Close(), kNoError);
  }
}

TEST(TextReaderLentTest, ByteRunsFollowTheLastLineAndStopAtCtrlZ) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string rest;  // after one line was read
  };
  const Case cases[] = {
      {"CR LF lines", "ab\r\ncd\r\nef\r\n", "cd\r\nef\r\n"},
      {"the LF of the first line end is passed", "ab\r\n\ncd", "\ncd"},
      {"a lone CR keeps what follows", "ab\rcd\r\n", "cd\r\n"},
      {"Ctrl-Z ends the runs", "ab\r\ncd\x1a\r\nef", "cd"},
      {"one line only", "ab\r\n", ""},
  };
  for (const Case& c : cases) {
    for (std::size_t block : kBlockSizes) {
      SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
      TestDrive drive;
      drive.WriteFile(kPath, c.bytes);
      TextReader reader(drive.files(), block);
      ASSERT_EQ(reader.Open(kPath), kNoError);
      std::string line;
      ASSERT_EQ(reader.ReadLine(line), kNoError);
      EXPECT_EQ(line, "ab");
      std::string rest;
      for (;;) {
        TextLine run;
        ASSERT_EQ(reader.ReadBytes(run), kNoError);
        ASSERT_LE(run.size, block);
        if (run.size == 0) {
          break;
        }
        rest.append(run.view());
      }
      EXPECT_EQ(Visible(rest), Visible(c.rest));
      bool at_end = false;
      EXPECT_EQ(reader.AtEnd(at_end), kNoError);
      EXPECT_TRUE(at_end);
    }
  }
}

TEST(TextWriterBytesTest, BytesGoOutAsTheyStandBetweenLines) {
  const std::string big(150000, 'b');
  for (std::size_t block : kBlockSizes) {
    SCOPED_TRACE("block " + std::to_string(block));
    TestDrive drive;
    TextWriter writer(drive.files(), block);
    ASSERT_EQ(writer.Create(kPath), kNoError);
    ASSERT_EQ(writer.WriteLine("x"), kNoError);
    ASSERT_EQ(writer.WriteBytes("no end\r"), kNoError);
    ASSERT_EQ(writer.WriteBytes(""), kNoError);
    ASSERT_EQ(writer.WriteBytes(big), kNoError);
    ASSERT_EQ(writer.WriteLine("y"), kNoError);
    ASSERT_EQ(writer.Close(), kNoError);
    EXPECT_EQ(drive.ReadFile(kPath), "x\r\nno end\r" + big + "y\r\n");
    EXPECT_EQ(writer.WriteBytes("z"), platform::kErrorInvalidHandle);
  }
}

}  // namespace
