#include "core/boot_options.h"

#include <algorithm>
#include <cstring>

#include "core/ascii_text.h"
#include "core/errors.h"
#include "platform/text_file.h"

namespace core {

namespace {

// The largest single Read or Write call of the whole-file copy; the interface counts in 32 bits.
constexpr std::size_t kWholeFileCall = std::size_t{1} << 30;

bool AtEnd(platform::TextReader& reader) {
  bool at_end = true;
  CheckIo(reader.AtEnd(at_end));
  return at_end;
}

// A key line upper-cases to the key prefix followed by exactly "1" or "0".
bool IsKeyLine(std::string_view upper_line, std::string_view key_prefix) {
  if (upper_line.size() != key_prefix.size() + 1) {
    return false;
  }
  const char digit = upper_line.back();
  return (digit == '1' || digit == '0') && upper_line.substr(0, key_prefix.size()) == key_prefix;
}

}  // namespace

bool IsOptionsHeader(std::string_view line) {
  if (line.size() != kOptionsHeader.size()) {
    return false;
  }
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (UpperAscii(line[i]) != kOptionsHeader[i]) {
      return false;
    }
  }
  return true;
}

bool BootOptionEditor::SetBootOption(std::string_view key_prefix, std::uint8_t value) {
  const std::string prefix = UpperCaseAscii(key_prefix);
  const bool enable = value != 0;
  WorkingFiles created;
  FileBytes old_content;
  try {
    const bool found = CopyThroughBuffer(prefix, enable, created);
    WriteNewFile(prefix + (enable ? "1" : "0"), found, created);
    // Kept so that a failed replacement can put the file back as it was.
    old_content = ReadWholeFile(kBootConfigPath);
  } catch (...) {
    // The readers and writers are closed by now; the old file has not been touched.
    if (created.buffer) {
      files_.DeleteByName(kBootBufferPath);
    }
    if (created.new_file) {
      files_.DeleteByName(kBootNewPath);
    }
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
  CheckIo(source.Open(kBootConfigPath));
  CheckIo(buffer.Create(kBootBufferPath));
  created.buffer = true;

  // At least one line goes through, so an empty file comes out as one empty line.
  platform::TextLine line;
  for (;;) {
    CheckIo(source.ReadLine(line));
    CheckIo(buffer.WriteLine(line.view()));
    if (IsOptionsHeader(line.view()) || AtEnd(source)) {
      break;
    }
  }

  // The lines are the reader's own: they are upper-cased where they lie.
  const std::string zero_line = key_prefix + "0";
  bool found = false;
  while (!AtEnd(source)) {
    CheckIo(source.ReadLine(line));
    UpperCaseAsciiInPlace(line.data, line.size);
    if (IsKeyLine(line.view(), key_prefix)) {
      found = true;
      if (!enable) {
        CheckIo(buffer.WriteLine(zero_line));
      }
      continue;
    }
    CheckIo(buffer.WriteLine(line.view()));
  }
  CheckIo(buffer.Close());
  CheckIo(source.Close());
  return found;
}

// Pass 3: the buffer into the new file, with the key line inserted after every options header
// when passes 1 and 2 found none.
void BootOptionEditor::WriteNewFile(const std::string& key_line, bool found,
                                    WorkingFiles& created) {
  platform::TextWriter target(files_);
  platform::TextReader buffer(files_);
  CheckIo(target.Create(kBootNewPath));
  created.new_file = true;
  CheckIo(buffer.Open(kBootBufferPath));

  if (found) {
    // Nothing to insert, so every line goes through as read. The buffer is this call's own
    // file: each of its lines ends in CR LF and it holds no other CR and no Ctrl-Z, so copying
    // it line by line gives its bytes, and it is copied as bytes.
    platform::TextLine bytes;
    for (;;) {
      CheckIo(buffer.ReadBytes(bytes));
      if (bytes.size == 0) {
        break;
      }
      CheckIo(target.WriteBytes(bytes.view()));
    }
  } else {
    platform::TextLine line;
    do {
      CheckIo(buffer.ReadLine(line));
      CheckIo(target.WriteLine(line.view()));
      if (IsOptionsHeader(line.view())) {
        CheckIo(target.WriteLine(key_line));
      }
    } while (!AtEnd(buffer));
  }
  CheckIo(buffer.Close());
  CheckIo(target.Close());
  CheckIo(files_.Erase(kBootBufferPath));
  created.buffer = false;
}

BootOptionEditor::FileBytes BootOptionEditor::ReadWholeFile(const std::string& path) {
  platform::FileHandle handle = platform::kNoHandle;
  CheckIo(files_.Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting, handle));
  // Room for the whole file plus one byte, so the read that finds the end needs no more room;
  // the file is read straight into it. Should the file have grown meanwhile, the room doubles.
  std::uint64_t reported = 0;
  std::size_t room = 1;
  if (files_.Size(handle, reported) == platform::kNoError) {
    room += static_cast<std::size_t>(reported);
  }
  FileBytes bytes{std::unique_ptr<char[]>(new char[room]), 0};
  platform::ErrorCode error = platform::kNoError;
  for (;;) {
    if (bytes.size == room) {
      room *= 2;
      std::unique_ptr<char[]> larger(new char[room]);
      std::memcpy(larger.get(), bytes.data.get(), bytes.size);
      bytes.data = std::move(larger);
    }
    const auto want = static_cast<std::uint32_t>(std::min(room - bytes.size, kWholeFileCall));
    std::uint32_t done = 0;
    error = files_.Read(handle, bytes.data.get() + bytes.size, want, done);
    if (error != platform::kNoError || done == 0) {
      break;
    }
    bytes.size += std::min<std::size_t>(done, want);
  }
  const platform::ErrorCode closed = files_.Close(handle);
  CheckIo(error);
  CheckIo(closed);
  return bytes;
}

bool BootOptionEditor::WriteWholeFile(const std::string& path, std::string_view bytes) {
  platform::FileHandle handle = platform::kNoHandle;
  if (files_.Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle) !=
      platform::kNoError) {
    return false;
  }
  bool written = true;
  for (std::size_t at = 0; written && at < bytes.size();) {
    const auto size = static_cast<std::uint32_t>(std::min(bytes.size() - at, kWholeFileCall));
    std::uint32_t done = 0;
    written =
        files_.Write(handle, bytes.data() + at, size, done) == platform::kNoError && done == size;
    at += size;
  }
  return files_.Close(handle) == platform::kNoError && written;
}

// Steps the outcome of which is not checked, except the rename: the old file loses its
// attributes and is deleted, and the new file takes its name.
bool BootOptionEditor::Replace(const FileBytes& old_content) {
  files_.SetAttributes(kBootConfigPath, 0);
  files_.DeleteByName(kBootConfigPath);
  const bool renamed = files_.Rename(kBootNewPathForRename, kBootConfigPath);
  if (!renamed && !files_.FileExists(kBootConfigPath)) {
    // The old file is gone but the new one did not take its place. Windows does not start
    // without this file, so the old content goes back: the call reports failure, and a failed
    // call leaves the file as it was, as when the old file could not be deleted. Should even
    // that fail, the new content is better than none.
    if (!WriteWholeFile(kBootConfigPath, old_content.view())) {
      files_.CopyReplacing(kBootNewPath, kBootConfigPath);
    }
  }
  if (!renamed) {
    messages_.ShowMessage(kCouldNotRenameMessage);
  }
  files_.SetAttributes(kBootConfigPath, kBootConfigAttributes);
  return renamed;
}

}  // namespace core
