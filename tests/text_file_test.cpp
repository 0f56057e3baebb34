// Line-by-line text files: where lines end when read, what ends the text, and the bytes written,
// with blocks small enough to cut lines and line ends at every position.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fault_file_system.h"
#include "tests/test_drive.h"

namespace {

using platform::ErrorCode;
using platform::kNoError;
using platform::TextReader;
using platform::TextWriter;
using testing_support::TestDrive;
using testing_support::Visible;

constexpr char kPath[] = "c:\\lines.txt";
const std::size_t kBlockSizes[] = {1, 2, 3, 5, platform::kTextBlockSize};

std::vector<std::string> ReadAllLines(TestDrive& drive, std::size_t block_size) {
  TextReader reader(drive.files(), block_size);
  EXPECT_EQ(reader.Open(kPath), kNoError);
  std::vector<std::string> lines;
  for (;;) {
    bool at_end = false;
    EXPECT_EQ(reader.AtEnd(at_end), kNoError);
    if (at_end) {
      break;
    }
    std::string line;
    EXPECT_EQ(reader.ReadLine(line), kNoError);
    lines.push_back(line);
  }
  EXPECT_EQ(reader.Close(), kNoError);
  return lines;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(TextReaderTest, LinesEndAtCarriageReturnAndTextEndsAtCtrlZ) {
  const ReadCase cases[] = {
      {"empty file", "", {}},
      {"CR LF ends", "one\r\ntwo\r\n", {"one", "two"}},
      {"last line without end", "one\r\ntwo", {"one", "two"}},
      {"CR alone ends a line", "one\rtwo\r", {"one", "two"}},
      {"LF alone is a character", "one\ntwo\n", {"one\ntwo\n"}},
      {"only one LF after CR belongs to the end", "one\r\n\ntwo", {"one", "\ntwo"}},
      {"CR CR LF is an empty line", "one\r\r\ntwo", {"one", "", "two"}},
      {"empty lines", "\r\n\r\n", {"", ""}},
      {"Ctrl-Z ends the text", "one\r\ntwo\r\n\x1athree\r\n", {"one", "two"}},
      {"Ctrl-Z inside a line", "one\r\ntw\x1ao\r\n", {"one", "tw"}},
      {"Ctrl-Z first",
       "\x1a"
       "one",
       {}},
      {"Ctrl-Z right after CR", "one\r\x1a\n", {"one"}},
      {"8-bit bytes are characters", "\xe9t\xe9\r\n\xff\r\n", {"\xe9t\xe9", "\xff"}},
      {"NUL is a character", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const ReadCase& c : cases) {
    for (std::size_t block : kBlockSizes) {
      SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
      TestDrive drive;
      drive.WriteFile(kPath, c.bytes);
      EXPECT_EQ(ReadAllLines(drive, block), c.lines);
    }
  }
}

TEST(TextReaderTest, ReadingAtTheEndGivesEmptyLinesAndStaysThere) {
  for (const std::string bytes : {"", "x", "x\r\n", "x\r\n\x1ay"}) {
    SCOPED_TRACE(Visible(bytes));
    TestDrive drive;
    drive.WriteFile(kPath, bytes);
    TextReader reader(drive.files(), 2);
    ASSERT_EQ(reader.Open(kPath), kNoError);
    std::string line;
    if (!bytes.empty()) {
      ASSERT_EQ(reader.ReadLine(line), kNoError);
      EXPECT_EQ(line, "x");
    }
    for (int i = 0; i < 3; ++i) {
      bool at_end = false;
      ASSERT_EQ(reader.AtEnd(at_end), kNoError);
      EXPECT_TRUE(at_end);
      line = "stale";
      ASSERT_EQ(reader.ReadLine(line), kNoError);
      EXPECT_EQ(line, "");
    }
    EXPECT_EQ(reader.Close(), kNoError);
  }
}

TEST(TextReaderTest, ALineLongerThanManyBlocksComesBackWhole) {
  TestDrive drive;
  const std::string long_line(3 * 1024 * 1024 + 7, 'q');
  drive.WriteFile(kPath, "a\r\n" + long_line + "\r\nz");
  const std::vector<std::string> expected = {"a", long_line, "z"};
  EXPECT_EQ(ReadAllLines(drive, platform::kTextBlockSize), expected);
}

TEST(TextReaderTest, MissingFileAndUnopenedReaderReportErrors) {
  TestDrive drive;
  TextReader reader(drive.files());
  EXPECT_EQ(reader.Open("c:\\missing.txt"), platform::kErrorFileNotFound);
  EXPECT_FALSE(reader.IsOpen());
  std::string line;
  bool at_end = false;
  EXPECT_EQ(reader.ReadLine(line), platform::kErrorInvalidHandle);
  EXPECT_EQ(reader.AtEnd(at_end), platform::kErrorInvalidHandle);
  EXPECT_EQ(reader.Close(), platform::kErrorInvalidHandle);
}

TEST(TextReaderTest, AFailedReadIsReported) {
  TestDrive drive;
  drive.WriteFile(kPath, "one\r\ntwo\r\n");
  testing_support::FaultFileSystem faults(drive.files());
  faults.FailOperation("Read");
  TextReader reader(faults);
  ASSERT_EQ(reader.Open(kPath), kNoError);
  std::string line;
  bool at_end = false;
  EXPECT_EQ(reader.ReadLine(line), platform::kErrorIoDevice);
  EXPECT_EQ(reader.AtEnd(at_end), platform::kErrorIoDevice);
}

struct WriteCase {
  const char* name;
  std::vector<std::string> lines;
  std::string bytes;
};

TEST(TextWriterTest, EveryLineEndsInCarriageReturnAndLineFeed) {
  const std::string long_line(200, 'w');
  const WriteCase cases[] = {
      {"no line", {}, ""},
      {"one empty line", {""}, "\r\n"},
      {"two lines", {"one", "two"}, "one\r\ntwo\r\n"},
      {"LF inside stays", {"a\nb"}, "a\nb\r\n"},
      {"long line among short ones", {"x", long_line, "y"}, "x\r\n" + long_line + "\r\ny\r\n"},
  };
  for (const WriteCase& c : cases) {
    for (std::size_t block : kBlockSizes) {
      SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
      TestDrive drive;
      TextWriter writer(drive.files(), block);
      ASSERT_EQ(writer.Create(kPath), kNoError);
      for (const std::string& line : c.lines) {
        ASSERT_EQ(writer.WriteLine(line), kNoError);
      }
      ASSERT_EQ(writer.Close(), kNoError);
      EXPECT_EQ(Visible(drive.ReadFile(kPath)), Visible(c.bytes));
    }
  }
}

TEST(TextWriterTest, CreateEmptiesAnExistingFile) {
  TestDrive drive;
  drive.WriteFile(kPath, "old content that is longer\r\n");
  TextWriter writer(drive.files());
  ASSERT_EQ(writer.Create(kPath), kNoError);
  ASSERT_EQ(writer.WriteLine("new"), kNoError);
  ASSERT_EQ(writer.Close(), kNoError);
  EXPECT_EQ(drive.ReadFile(kPath), "new\r\n");
}

TEST(TextWriterTest, AShortWriteIsADiskFull) {
  TestDrive drive;
  testing_support::FaultFileSystem faults(drive.files());
  faults.ShortWrites(true);
  {
    TextWriter writer(faults, 4);
    ASSERT_EQ(writer.Create(kPath), kNoError);
    // Small lines wait in the block; the failure shows when the block goes out.
    EXPECT_EQ(writer.WriteLine("ab"), kNoError);
    EXPECT_EQ(writer.WriteLine("cd"), platform::kErrorShortWrite);
  }
  {
    TextWriter writer(faults, 4);
    ASSERT_EQ(writer.Create(kPath), kNoError);
    ASSERT_EQ(writer.WriteLine("a"), kNoError);
    EXPECT_EQ(writer.Close(), platform::kErrorShortWrite);
    EXPECT_FALSE(writer.IsOpen());
  }
}

TEST(TextWriterTest, AFailedWriteOrCloseIsReported) {
  TestDrive drive;
  testing_support::FaultFileSystem faults(drive.files());
  faults.FailOperation("Close");
  TextWriter writer(faults);
  ASSERT_EQ(writer.Create(kPath), kNoError);
  ASSERT_EQ(writer.WriteLine("a"), kNoError);
  EXPECT_EQ(writer.Close(), platform::kErrorIoDevice);
  EXPECT_EQ(writer.WriteLine("b"), platform::kErrorInvalidHandle);
}

TEST(TextWriterTest, CreatingInAMissingDirectoryFails) {
  TestDrive drive;
  TextWriter writer(drive.files());
  EXPECT_EQ(writer.Create("c:\\no such directory\\lines.txt"), platform::kErrorPathNotFound);
  EXPECT_EQ(writer.WriteLine("a"), platform::kErrorInvalidHandle);
}

TEST(TextFileTest, WhatIsWrittenReadsBackLineForLine) {
  const std::vector<std::string> lines = {"[Options]", "", "a\nb", std::string(70000, 'x'), "z"};
  for (std::size_t block : kBlockSizes) {
    SCOPED_TRACE(block);
    TestDrive drive;
    TextWriter writer(drive.files(), block);
    ASSERT_EQ(writer.Create(kPath), kNoError);
    for (const std::string& line : lines) {
      ASSERT_EQ(writer.WriteLine(line), kNoError);
    }
    ASSERT_EQ(writer.Close(), kNoError);
    EXPECT_EQ(ReadAllLines(drive, block), lines);
  }
}

}  // namespace
