#include "platform/text_file.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kEndOfText = 26;  // Ctrl-Z
constexpr char kLineEnd[] = {kCarriageReturn, kLineFeed};

// The largest single Read or Write call; the interface counts bytes in 32 bits.
constexpr std::size_t kMaxCall = std::size_t{1} << 30;

}  // namespace

TextFile::TextFile(FileSystem& files, std::size_t block_size, std::size_t min_block)
    : files_(files),
      block_size_(std::min(std::max(block_size, min_block), kMaxCall)),
      block_(new char[block_size_]) {}

TextFile::~TextFile() {
  if (handle_ != kNoHandle) {
    files_.Close(handle_);
  }
}

ErrorCode TextFile::OpenFile(const std::string& path, Access access, Disposition disposition) {
  if (handle_ != kNoHandle) {
    return kErrorInvalidHandle;
  }
  FileHandle handle = kNoHandle;
  const ErrorCode error = files_.Open(path, access, disposition, handle);
  if (error == kNoError) {
    handle_ = handle;
  }
  return error;
}

ErrorCode TextFile::CloseFile() {
  if (handle_ == kNoHandle) {
    return kErrorInvalidHandle;
  }
  const FileHandle handle = handle_;
  handle_ = kNoHandle;
  return files_.Close(handle);
}

TextReader::TextReader(FileSystem& files, std::size_t block_size)
    : TextFile(files, block_size, 1) {}

ErrorCode TextReader::Open(const std::string& path) {
  if (IsOpen()) {
    return kErrorInvalidHandle;
  }
  pos_ = end_ = 0;
  physical_end_ = text_end_ = stop_at_end_ = skip_line_feed_ = false;
  return OpenFile(path, Access::kRead, Disposition::kOpenExisting);
}

ErrorCode TextReader::Fill() {
  for (;;) {
    if (pos_ == end_) {
      if (physical_end_ || text_end_) {
        break;
      }
      if (stop_at_end_) {
        text_end_ = true;
        break;
      }
      pos_ = end_ = 0;
      std::uint32_t done = 0;
      const ErrorCode error =
          files_.Read(handle_, block_.get(), static_cast<std::uint32_t>(block_size_), done);
      if (error != kNoError) {
        return error;
      }
      end_ = std::min<std::size_t>(done, block_size_);
      if (end_ == 0) {
        physical_end_ = true;
      }
      // The text ends in front of the first Ctrl-Z: the block is cut there once, so that the
      // lines need not be searched for it one by one.
      if (const void* eot = std::memchr(block_.get(), kEndOfText, end_); eot != nullptr) {
        end_ = static_cast<const char*>(eot) - block_.get();
        stop_at_end_ = true;
      }
      continue;
    }
    // One LF right after a CR belongs to the line end, even when the block ended between them.
    if (skip_line_feed_) {
      skip_line_feed_ = false;
      if (block_[pos_] == kLineFeed) {
        ++pos_;
        continue;
      }
    }
    break;
  }
  if (pos_ == end_) {
    skip_line_feed_ = false;
  }
  return kNoError;
}

ErrorCode TextReader::FillText(bool& more) {
  more = false;
  if (handle_ == kNoHandle) {
    return kErrorInvalidHandle;
  }
  if (!text_end_) {
    if (const ErrorCode error = Fill(); error != kNoError) {
      return error;
    }
  }
  more = !text_end_ && pos_ != end_;
  return kNoError;
}

ErrorCode TextReader::ReadLine(std::string& line) {
  TextLine lent;
  const ErrorCode error = ReadLine(lent);
  line.assign(lent.data, lent.size);
  return error;
}

bool TextReader::ReadLineInBlock(TextLine& line) {
  char* start = block_.get() + pos_;
  const auto* cr = static_cast<const char*>(std::memchr(start, kCarriageReturn, end_ - pos_));
  if (cr == nullptr || cr + 1 == block_.get() + end_) {
    return false;
  }
  line = {start, static_cast<std::size_t>(cr - start)};
  pos_ = (cr - block_.get()) + 1;
  if (block_[pos_] == kLineFeed) {
    ++pos_;
  }
  return true;
}

ErrorCode TextReader::ReadLineAcrossBlocks(TextLine& line) {
  line = {block_.get(), 0};
  bool more = false;
  if (const ErrorCode error = FillText(more); error != kNoError || !more) {
    return error;  // at the end of the text the last line needs no line end
  }

  char* start = block_.get() + pos_;
  const char* stop = block_.get() + end_;
  const auto* cr = static_cast<const char*>(std::memchr(start, kCarriageReturn, stop - start));
  if (cr == nullptr) {
    return ReadLongLine(line);
  }
  line = {start, static_cast<std::size_t>(cr - start)};
  pos_ = (cr - block_.get()) + 1;
  if (pos_ == end_) {
    skip_line_feed_ = true;  // the next block, if any, tells
  } else if (block_[pos_] == kLineFeed) {
    ++pos_;
  }
  return kNoError;
}

ErrorCode TextReader::ReadLongLine(TextLine& line) {
  carry_.assign(block_.get() + pos_, end_ - pos_);
  pos_ = end_;
  for (;;) {
    if (const ErrorCode error = Fill(); error != kNoError) {
      return error;
    }
    if (pos_ == end_) {
      break;  // the end of the text ends the line
    }
    const char* start = block_.get() + pos_;
    const char* stop = block_.get() + end_;
    const auto* cr = static_cast<const char*>(std::memchr(start, kCarriageReturn, stop - start));
    const char* limit = cr != nullptr ? cr : stop;
    carry_.append(start, limit);
    if (cr != nullptr) {
      pos_ = (cr - block_.get()) + 1;
      skip_line_feed_ = true;
      break;
    }
    pos_ = end_;
  }
  line = {carry_.data(), carry_.size()};
  return kNoError;
}

ErrorCode TextReader::ReadBytes(TextLine& bytes) {
  bytes = {block_.get(), 0};
  bool more = false;
  if (const ErrorCode error = FillText(more); error != kNoError || !more) {
    return error;
  }
  bytes = {block_.get() + pos_, end_ - pos_};
  pos_ = end_;
  return kNoError;
}

TextWriter::TextWriter(FileSystem& files, std::size_t block_size)
    : TextFile(files, block_size, sizeof kLineEnd) {}

ErrorCode TextWriter::Create(const std::string& path) {
  if (IsOpen()) {
    return kErrorInvalidHandle;
  }
  used_ = 0;
  return OpenFile(path, Access::kWrite, Disposition::kCreateAlways);
}

ErrorCode TextWriter::WriteDirect(const char* bytes, std::size_t size) {
  while (size > 0) {
    const auto chunk = static_cast<std::uint32_t>(std::min(size, kMaxCall));
    std::uint32_t done = 0;
    if (const ErrorCode error = files_.Write(handle_, bytes, chunk, done); error != kNoError) {
      return error;
    }
    if (done < chunk) {
      return kErrorShortWrite;
    }
    bytes += chunk;
    size -= chunk;
  }
  return kNoError;
}

ErrorCode TextWriter::Flush() {
  const std::size_t used = used_;
  used_ = 0;
  return WriteDirect(block_.get(), used);
}

ErrorCode TextWriter::WriteBytes(std::string_view bytes) {
  if (handle_ == kNoHandle) {
    return kErrorInvalidHandle;
  }
  if (bytes.size() > block_size_ - used_) {
    if (const ErrorCode error = Flush(); error != kNoError) {
      return error;
    }
    // A whole block or more goes out as it stands instead of through the block.
    if (bytes.size() >= block_size_) {
      return WriteDirect(bytes.data(), bytes.size());
    }
  }
  std::memcpy(block_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
  return kNoError;
}

ErrorCode TextWriter::WriteLineFlushing(std::string_view line) {
  if (handle_ == kNoHandle) {
    return kErrorInvalidHandle;
  }
  if (line.size() + sizeof kLineEnd > block_size_ - used_) {
    if (const ErrorCode error = Flush(); error != kNoError) {
      return error;
    }
    // A line longer than the block goes out as it stands instead of through the block.
    if (line.size() + sizeof kLineEnd > block_size_) {
      if (const ErrorCode error = WriteDirect(line.data(), line.size()); error != kNoError) {
        return error;
      }
      line = {};
    }
  }
  Append(line);
  return kNoError;
}

ErrorCode TextWriter::FlushToDisk() {
  if (!IsOpen()) {
    return kErrorInvalidHandle;
  }
  if (const ErrorCode error = Flush(); error != kNoError) {
    return error;
  }
  return files_.Flush(handle_);
}

ErrorCode TextWriter::Close() {
  if (!IsOpen()) {
    return kErrorInvalidHandle;
  }
  const ErrorCode flushed = Flush();
  const ErrorCode closed = CloseFile();
  return flushed != kNoError ? flushed : closed;
}

}  // namespace platform
