#include "core/boot_options.h"

#include <vector>

#include "core/io_error.h"
#include "platform/text_file.h"

namespace core {

namespace {

constexpr std::size_t kWholeFileBlock = 1024 * 1024;

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void UpperCaseInPlace(std::string& text) {
  for (char& c : text) c = UpperAscii(c);
}

void Check(platform::ErrorCode error) {
  if (error == platform::kNoError) return;
  // A full disk shows as "Disk full" rather than as the bare system code.
  throw IoError(error == platform::kErrorDiskFull ? kIoDiskFull : error);
}

bool AtEnd(platform::TextReader& reader) {
  bool at_end = true;
  Check(reader.AtEnd(at_end));
  return at_end;
}

// A key line upper-cases to the key prefix followed by exactly "1" or "0".
bool IsKeyLine(const std::string& upper_line, const std::string& key_prefix) {
  if (upper_line.size() != key_prefix.size() + 1) return false;
  const char digit = upper_line.back();
  return (digit == '1' || digit == '0') &&
         upper_line.compare(0, key_prefix.size(), key_prefix) == 0;
}

}  // namespace

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  UpperCaseInPlace(upper);
  return upper;
}

bool IsOptionsHeader(std::string_view line) {
  if (line.size() != kOptionsHeader.size()) return false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (UpperAscii(line[i]) != kOptionsHeader[i]) return false;
  }
  return true;
}

bool BootOptionEditor::SetBootOption(std::string_view key_prefix, std::uint8_t value) {
  const std::string prefix = UpperCaseAscii(key_prefix);
  const bool enable = value != 0;
  WorkingFiles created;
  std::string old_content;
  try {
    const bool found = CopyThroughBuffer(prefix, enable, created);
    WriteNewFile(prefix + (enable ? "1" : "0"), found, created);
    // Kept so that a failed replacement can put the file back as it was.
    old_content = ReadWholeFile(kBootConfigPath);
  } catch (...) {
    // The readers and writers are closed by now; the old file has not been touched.
    if (created.buffer) files_.DeleteByName(kBootBufferPath);
    if (created.new_file) files_.DeleteByName(kBootNewPath);
    throw;
  }
  return Replace(old_content);
}

// Passes 1 and 2: the head as it stands, then the tail upper-cased with its key lines replaced
// (value 0) or dropped (value 1). Returns whether the tail held a key line.
bool BootOptionEditor::CopyThroughBuffer(const std::string& key_prefix, bool enable,
                                         WorkingFiles& created) {
  platform::TextReader source(files_);
  platform::TextWriter buffer(files_);
  Check(source.Open(kBootConfigPath));
  Check(buffer.Create(kBootBufferPath));
  created.buffer = true;

  // At least one line goes through, so an empty file comes out as one empty line.
  std::string line;
  for (;;) {
    Check(source.ReadLine(line));
    Check(buffer.WriteLine(line));
    if (IsOptionsHeader(line) || AtEnd(source)) break;
  }

  bool found = false;
  while (!AtEnd(source)) {
    Check(source.ReadLine(line));
    UpperCaseInPlace(line);
    if (IsKeyLine(line, key_prefix)) {
      found = true;
      if (!enable) Check(buffer.WriteLine(key_prefix + "0"));
      continue;
    }
    Check(buffer.WriteLine(line));
  }
  Check(buffer.Close());
  Check(source.Close());
  return found;
}

// Pass 3: the buffer into the new file, with the key line inserted after every options header
// when passes 1 and 2 found none.
void BootOptionEditor::WriteNewFile(const std::string& key_line, bool found,
                                    WorkingFiles& created) {
  platform::TextWriter target(files_);
  platform::TextReader buffer(files_);
  Check(target.Create(kBootNewPath));
  created.new_file = true;
  Check(buffer.Open(kBootBufferPath));

  std::string line;
  do {
    Check(buffer.ReadLine(line));
    Check(target.WriteLine(line));
    if (!found && IsOptionsHeader(line)) Check(target.WriteLine(key_line));
  } while (!AtEnd(buffer));
  Check(buffer.Close());
  Check(target.Close());
  Check(files_.Erase(kBootBufferPath));
  created.buffer = false;
}

std::string BootOptionEditor::ReadWholeFile(const std::string& path) {
  platform::FileHandle handle = platform::kNoHandle;
  Check(files_.Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting, handle));
  std::string bytes;
  // Room for the whole file at once: growing the string block by block touched twice the
  // file's size in fresh memory, a quarter of the time of a rewrite of a large file.
  std::uint64_t size = 0;
  if (files_.Size(handle, size) == platform::kNoError) {
    bytes.reserve(size);
  }
  std::vector<char> block(kWholeFileBlock);
  platform::ErrorCode error = platform::kNoError;
  for (;;) {
    std::uint32_t done = 0;
    error = files_.Read(handle, block.data(), static_cast<std::uint32_t>(block.size()), done);
    if (error != platform::kNoError || done == 0) break;
    bytes.append(block.data(), done);
  }
  const platform::ErrorCode closed = files_.Close(handle);
  Check(error);
  Check(closed);
  return bytes;
}

bool BootOptionEditor::WriteWholeFile(const std::string& path, const std::string& bytes) {
  platform::FileHandle handle = platform::kNoHandle;
  if (files_.Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle) !=
      platform::kNoError) {
    return false;
  }
  bool written = true;
  for (std::size_t at = 0; written && at < bytes.size();) {
    const auto size = static_cast<std::uint32_t>(std::min(bytes.size() - at, kWholeFileBlock));
    std::uint32_t done = 0;
    written =
        files_.Write(handle, bytes.data() + at, size, done) == platform::kNoError && done == size;
    at += size;
  }
  return files_.Close(handle) == platform::kNoError && written;
}

// Steps the outcome of which is not checked, except the rename: the old file loses its
// attributes and is deleted, and the new file takes its name.
bool BootOptionEditor::Replace(const std::string& old_content) {
  files_.SetAttributes(kBootConfigPath, 0);
  files_.DeleteByName(kBootConfigPath);
  const bool renamed = files_.Rename(kBootNewPathForRename, kBootConfigPath);
  if (!renamed && !files_.FileExists(kBootConfigPath)) {
    // The old file is gone but the new one did not take its place. Windows does not start
    // without this file, so the old content goes back: the call reports failure, and a failed
    // call leaves the file as it was, as when the old file could not be deleted. Should even
    // that fail, the new content is better than none.
    if (!WriteWholeFile(kBootConfigPath, old_content)) {
      files_.CopyReplacing(kBootNewPath, kBootConfigPath);
    }
  }
  if (!renamed) messages_.ShowMessage(kCouldNotRenameMessage);
  files_.SetAttributes(kBootConfigPath, kBootConfigAttributes);
  return renamed;
}

}  // namespace core
