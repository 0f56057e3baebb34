#include "core/boot_options.h"

#include "core/ascii_text.h"
#include "core/errors.h"
#include "platform/text_file.h"

namespace core {

namespace {

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

// A working file goes, with the attributes a copy of c:\Msdos.sys may carry, which would refuse
// the delete.
void RemoveWorkingFile(platform::FileSystem& files, const char* path) {
  if (files.FileExists(path)) {
    files.SetAttributes(path, 0);
    files.DeleteByName(path);
  }
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
  try {
    const bool found = CopyThroughBuffer(prefix, enable, created);
    WriteNewFile(prefix + (enable ? "1" : "0"), found, created);
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
  return Replace();
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
  // On the disk before the old file is touched: after a power cut the new file is complete.
  CheckIo(target.FlushToDisk());
  CheckIo(target.Close());
  CheckIo(files_.Erase(kBootBufferPath));
  created.buffer = false;
}

// The old file steps aside (without its attributes, which would refuse the rename), the new file
// takes its name and gets the attributes 39, then the old one goes. Only the renames are
// checked; a failed one puts back what was done and shows "Could not rename".
bool BootOptionEditor::Replace() {
  RemoveWorkingFile(files_, kBootOldPath);  // left by an earlier run; c:\Msdos.sys is whole
  files_.SetAttributes(kBootConfigPath, 0);
  bool renamed = files_.Rename(kBootConfigPath, kBootOldPath);
  if (renamed && !files_.Rename(kBootNewPathForRename, kBootConfigPath)) {
    // The old file goes back; should that fail too, the next start puts it back.
    files_.Rename(kBootOldPath, kBootConfigPath);
    renamed = false;
  }
  if (!renamed) {
    messages_.ShowMessage(kCouldNotRenameMessage);
  }
  // The old copy goes only once the new file has its attributes: if they did not take, the next
  // start finds the copy and gives them again.
  if (files_.SetAttributes(kBootConfigPath, kBootConfigAttributes) && renamed) {
    RemoveWorkingFile(files_, kBootOldPath);
  }
  return renamed;
}

void RecoverBootConfig(platform::FileSystem& files, MessageSink& messages) {
  const bool has_new = files.FileExists(kBootNewPath);
  const bool has_old = files.FileExists(kBootOldPath);
  if (!has_new && !has_old) {
    RemoveWorkingFile(files, kBootBufferPath);  // cut off in pass 1 or 2: nothing else touched
    return;
  }
  bool repaired = false;
  if (!files.FileExists(kBootConfigPath)) {
    // Between the renames. The old file steps aside only once the new one is complete and
    // flushed, so with both there the new one goes in; a new file alone is all that is left.
    const char* from = has_new ? kBootNewPathForRename : kBootOldPath;
    if (!files.Rename(from, kBootConfigPath)) {
      return;  // the working files are all there is: they stay for the next start
    }
    repaired = true;
  }
  std::uint32_t attributes = 0;
  if (!files.GetAttributes(kBootConfigPath, attributes) ||
      (attributes & kBootConfigAttributes) != kBootConfigAttributes) {
    files.SetAttributes(kBootConfigPath, kBootConfigAttributes);
    repaired = true;
  }
  // c:\Msdos.sys is whole under its name, old or new, and has its attributes.
  for (const char* working : {kBootNewPath, kBootOldPath, kBootBufferPath}) {
    RemoveWorkingFile(files, working);
  }
  if (repaired) {
    messages.ShowMessage(kBootRestoredMessage);
  }
}

}  // namespace core
