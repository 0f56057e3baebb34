// Text files read and written line by line over FileSystem, with the line rules of the boot
// configuration file: a line read ends at a carriage return (13), and one line feed (10)
// directly after it belongs to that line end; a line feed anywhere else is an ordinary
// character. A byte 26 (Ctrl-Z) or the physical end ends the text. Every line written ends in
// carriage return and line feed. Lines have no length limit.
//
// Both classes move the bytes in large blocks of their own, so the cost is linear in the file
// size however the lines are cut. A line that lies within one block is handed out in place,
// without a copy. Like the rest of platform/, they report system error codes and never show
// anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

constexpr std::size_t kTextBlockSize = std::size_t{64} * 1024;

// A line lent by TextReader: its bytes stay the reader's and are valid until the reader's next
// call. The caller may change them in place (upper-casing, say) before handing them on.
struct TextLine {
  char* data = nullptr;
  std::size_t size = 0;
  std::string_view view() const { return {data, size}; }
};

// What the reader and the writer share: the file system, a block of their own and one handle.
class TextFile {
 public:
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  bool IsOpen() const { return handle_ != kNoHandle; }

 protected:
  // The block holds block_size bytes, at least min_block and at most one call's worth.
  TextFile(FileSystem& files, std::size_t block_size, std::size_t min_block);
  // Closes a file still open, ignoring the outcome: only the error path of the caller gets
  // here. A writer's unwritten block is dropped, as a half-written working file is of no use.
  ~TextFile();
  ErrorCode OpenFile(const std::string& path, Access access, Disposition disposition);
  // kErrorInvalidHandle when no file is open; the handle is given up in any case.
  ErrorCode CloseFile();

  FileSystem& files_;
  std::size_t block_size_;
  std::unique_ptr<char[]> block_;  // not zero-filled: only bytes read or written are looked at
  FileHandle handle_ = kNoHandle;
};

class TextReader : public TextFile {
 public:
  // block_size is the size of each read; tests use tiny blocks to cut lines at every byte.
  explicit TextReader(FileSystem& files, std::size_t block_size = kTextBlockSize);

  // Opens an existing file for reading.
  ErrorCode Open(const std::string& path);
  // The next line without its line end. At the end of the text the line is empty and the
  // reader stays at the end.
  ErrorCode ReadLine(std::string& line);
  // The same, lent in place instead of copied.
  ErrorCode ReadLine(TextLine& line) {
    if (handle_ != kNoHandle && pos_ < end_ && !skip_line_feed_ && ReadLineInBlock(line)) {
      return kNoError;
    }
    return ReadLineAcrossBlocks(line);
  }
  // The bytes of the text from here as they stand, lent in runs of at most one block, without
  // looking for line ends; an empty run at the end of the text. For copying a file whose lines
  // all end in carriage return and line feed: its runs are its lines, line ends included.
  ErrorCode ReadBytes(TextLine& bytes);
  // True at the physical end or in front of a Ctrl-Z.
  ErrorCode AtEnd(bool& at_end) {
    if (handle_ != kNoHandle && pos_ < end_ && !skip_line_feed_) {
      at_end = false;
      return kNoError;
    }
    bool more = false;
    const ErrorCode error = FillText(more);
    at_end = !more;
    return error;
  }
  ErrorCode Close() { return CloseFile(); }

 private:
  // Refills the block when it is used up and passes the line feed of a line end that the last
  // line left pending; afterwards pos_ == end_ only at the end of the text.
  ErrorCode Fill();
  // Fill on an open reader short of the end of the text; `more`: bytes of the text are left.
  ErrorCode FillText(bool& more);
  // The next line when it ends in the block, with its line feed if that is in the block too.
  bool ReadLineInBlock(TextLine& line);
  ErrorCode ReadLineAcrossBlocks(TextLine& line);
  // The rest of a line that goes on past the current block, gathered in carry_.
  ErrorCode ReadLongLine(TextLine& line);

  std::string carry_;  // a line longer than what was left of its block
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool physical_end_ = false;    // a read returned no bytes
  bool stop_at_end_ = false;     // the block ends in front of a Ctrl-Z
  bool text_end_ = false;        // that Ctrl-Z was reached
  bool skip_line_feed_ = false;  // the last line ended in a CR: one LF after it is its line end
};

class TextWriter : public TextFile {
 public:
  explicit TextWriter(FileSystem& files, std::size_t block_size = kTextBlockSize);

  // Creates the file, or empties it if it exists.
  ErrorCode Create(const std::string& path);
  // Writes the line followed by carriage return and line feed. A write that stores fewer bytes
  // than asked reports kErrorShortWrite.
  ErrorCode WriteLine(std::string_view line) {
    if (handle_ != kNoHandle && line.size() + 2 <= block_size_ - used_) {
      Append(line);
      return kNoError;
    }
    return WriteLineFlushing(line);
  }
  // Writes the bytes as they stand, adding nothing.
  ErrorCode WriteBytes(std::string_view bytes);
  // Writes what is buffered and hands the file to the disk (FileSystem::Flush).
  ErrorCode FlushToDisk();
  // Writes what is buffered, then closes; the first failure is reported, the handle is closed
  // in any case.
  ErrorCode Close();

 private:
  void Append(std::string_view line) {
    if (!line.empty()) {
      std::memcpy(block_.get() + used_, line.data(), line.size());
    }
    used_ += line.size();
    block_[used_++] = '\r';
    block_[used_++] = '\n';
  }
  ErrorCode WriteLineFlushing(std::string_view line);
  ErrorCode Flush();
  ErrorCode WriteDirect(const char* bytes, std::size_t size);

  std::size_t used_ = 0;
};

}  // namespace platform
