#include "core/databank_file.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/errors.h"
#include "core/filler.h"

namespace core {
namespace {

constexpr int kHalf = 256;  // a record is a name half and a password half of 256 positions
static_assert(kFillerRecord == kRecordSize);

// Stored bytes are shifted by their position within their half: v at position p is stored as
// (v + p) mod 256, so the same text never looks the same twice in a record.
void DecodeRecord(std::uint8_t* record) {
  for (std::uint32_t k = 0; k < kRecordSize; ++k) {
    record[k] = static_cast<std::uint8_t>(record[k] - (k % kHalf));
  }
}

// The damaged file is copied in pieces of this size.
constexpr std::uint32_t kCopyPiece = 64 * 1024;

}  // namespace

std::string SideFileName(const std::string& path, const char* extension) {
  const std::size_t folder_end = path.find_last_of("\\/:");
  const std::size_t dot = path.rfind('.');
  const bool has_extension =
      dot != std::string::npos && (folder_end == std::string::npos || dot > folder_end);
  return (has_extension ? path.substr(0, dot) : path) + "." + extension;
}

std::string LoadReport(LoadOutcome outcome, int users_read, const std::string& path) {
  switch (outcome) {
    case LoadOutcome::kWhole:
      break;
    case LoadOutcome::kPartly:
      return std::string("The databank could not be read whole: ") +
             (users_read == 1 ? std::string("1 user was read.")
                              : std::to_string(users_read) + " users were read.") +
             " Quit saves the users read and keeps the damaged file as " +
             SideFileName(path, kDatabankDamagedExtension) + ".";
    case LoadOutcome::kUnread:
      return "No user could be read from the databank. It is left as it is, and no change to "
             "the users is saved.";
  }
  return "";
}

std::uint32_t DatabankFile::TimeOfDayMilliseconds() {
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(now % (std::int64_t{24} * 60 * 60 * 1000));
}

DatabankFile::DatabankFile(platform::FileSystem& files, UserTable& table, std::string path,
                           Clock clock)
    : files_(files), table_(table), path_(std::move(path)), clock_(std::move(clock)) {}

DatabankFile::~DatabankFile() {
  if (IsOpen()) {
    files_.Close(handle_);
  }
}

void DatabankFile::RequireOpen() const {
  if (!IsOpen()) {
    throw IoError(kIoFileNotOpen);
  }
}

void DatabankFile::Reopen(platform::Disposition disposition) {
  if (IsOpen()) {
    const platform::FileHandle old = handle_;
    handle_ = platform::kNoHandle;
    CheckIo(files_.Close(old));
  }
  CheckIo(files_.Open(path_, platform::Access::kReadWrite, disposition, handle_));
}

void DatabankFile::RecoverDatabank() {
  const std::string fresh = Side(kDatabankNewExtension);
  const std::string old = Side(kDatabankOldExtension);
  const bool has_fresh = files_.FileExists(fresh);
  const bool has_old = files_.FileExists(old);
  if (!has_fresh && !has_old) {
    return;  // the usual start: no save was interrupted
  }
  if (!files_.FileExists(path_)) {
    if (has_fresh && has_old) {
      // Between the two renames: the old file is only moved aside once the new one is complete
      // and flushed, so the save is finished.
      files_.Rename(fresh, path_);
    } else if (has_old) {
      files_.Rename(old, path_);
    }
    // A new file alone may be incomplete; there was no databank before that save either.
    if (has_old && !files_.FileExists(path_)) {
      return;  // nothing may go while the users are only in the side files
    }
  }
  // The databank is whole under its own name, old or new: what is left beside it goes.
  files_.DeleteByName(fresh);
  files_.DeleteByName(old);
}

void DatabankFile::OpenDatabank() {
  loaded_ = LoadOutcome::kWhole;
  RecoverDatabank();
  if (!files_.FileExists(path_)) {
    Reopen(platform::Disposition::kCreateAlways);
    return;
  }
  try {
    Reopen(platform::Disposition::kOpenExisting);
  } catch (const IoError&) {
    // The users are still in the file; a quit must not replace them with an empty table.
    KeepUnreadFile();
    throw;
  }
  LoadDatabank();
}

void DatabankFile::KeepUnreadFile() {
  keep_file_ = true;
  loaded_ = LoadOutcome::kUnread;
  // Nor may the table, short of those users, pass for the empty databank of a first start,
  // which opens the administrator features to anybody.
  table_.MarkUsersUnread();
}

void DatabankFile::LoadDatabank() {
  table_.SetCount(0);
  surplus_.clear();
  RequireOpen();
  int n = 0;
  std::uint64_t position = 0;
  std::uint64_t size = 0;
  try {
    for (;;) {
      CheckIo(files_.Position(handle_, position));
      CheckIo(files_.Size(handle_, size));
      if (position >= size) {
        break;
      }

      // Three records into the same buffer: it ends up holding the data record; the two
      // decoys are never looked at.
      UserRecord record;
      auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
      for (std::uint32_t r = 0; r < kRecordsPerEntry; ++r) {
        ReadRecord(bytes);
      }
      DecodeRecord(bytes);
      if (n < UserTable::kSlots) {
        table_.Slot(++n) = record;
        // Counted entry by entry, so the complete entries before a truncated one stay loaded.
        table_.SetCount(n);
      } else {
        surplus_.push_back(record);
      }
    }
  } catch (const IoError& error) {
    // A short read of an incomplete last entry is the end of the file; anything else (a failed
    // call, or a short read with a whole entry left) leaves unread users in the file. Either
    // way a save keeps the damaged file beside the new one; when no user at all was read, the
    // file is not saved over.
    const bool incomplete_last = size - position < std::uint64_t{kRecordSize} * kRecordsPerEntry;
    if (n == 0 && (error.code() != kIoReadBeyondEnd || !incomplete_last)) {
      KeepUnreadFile();
    } else {
      loaded_ = LoadOutcome::kPartly;
    }
    throw;
  }
}

void DatabankFile::ReadRecord(std::uint8_t* record) {
  RequireOpen();
  std::uint32_t done = 0;
  CheckIo(files_.Read(handle_, record, kRecordSize, done));
  if (done != kRecordSize) {
    throw IoError(kIoReadBeyondEnd);
  }
}

void DatabankFile::WriteRecord(platform::FileHandle handle, const std::uint8_t* record) {
  std::uint32_t done = 0;
  CheckIo(files_.Write(handle, record, kRecordSize, done));
  if (done != kRecordSize) {
    throw IoError(kIoDiskFull);
  }
}

void DatabankFile::SaveUserEntry(const UserRecord& user) {
  RequireOpen();
  std::uint64_t size = 0;
  CheckIo(files_.Size(handle_, size));
  CheckIo(files_.Seek(handle_, size / kRecordSize * kRecordSize));
  WriteEntry(handle_, user);
}

void DatabankFile::WriteEntry(platform::FileHandle handle, const UserRecord& user) {
  // Read where it lies: the entry is built in a buffer of its own, so no copy of the slot.
  const auto* slot = reinterpret_cast<const std::uint8_t*>(&user);
  const std::uint32_t seed = clock_();

  // The two decoys and the data record, all filler at first; then the data record's carried
  // bytes go over their filler: the length byte, the characters and the one byte after them
  // (so an empty string still carries positions 0 and 1).
  std::uint8_t entry[kRecordsPerEntry * kRecordSize];
  DrawFiller(seed, entry, sizeof entry);
  std::uint8_t* const data = entry + std::size_t{2} * kRecordSize;
  for (int half = 0; half < 2; ++half) {
    const int first = half * kHalf;
    const int carried = std::min(slot[first] + 2, kHalf);
    for (int p = 0; p < carried; ++p) {
      data[first + p] = static_cast<std::uint8_t>(slot[first + p] + p);
    }
  }
  WriteRecord(handle, entry);
  WriteRecord(handle, entry + kRecordSize);
  WriteRecord(handle, data);
}

void DatabankFile::WriteSideFile(const std::string& side) {
  platform::FileHandle handle = platform::kNoHandle;
  CheckIo(
      files_.Open(side, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle));
  try {
    // A file of our own, written from its start: every entry goes at its end without asking.
    for (int k = 1; k <= table_.Count(); ++k) {
      WriteEntry(handle, table_.Slot(k));
    }
    for (const UserRecord& user : surplus_) {
      WriteEntry(handle, user);
    }
    CheckIo(files_.Flush(handle));
  } catch (...) {
    files_.Close(handle);
    files_.DeleteByName(side);
    throw;
  }
  const platform::ErrorCode closed = files_.Close(handle);
  if (closed != platform::kNoError) {
    files_.DeleteByName(side);
    CheckIo(closed);
  }
}

void DatabankFile::CopyDamagedFile() {
  RequireOpen();
  const std::string damaged = Side(kDatabankDamagedExtension);
  platform::FileHandle copy = platform::kNoHandle;
  CheckIo(
      files_.Open(damaged, platform::Access::kWrite, platform::Disposition::kCreateAlways, copy));
  try {
    CheckIo(files_.Seek(handle_, 0));
    std::vector<std::uint8_t> piece(kCopyPiece);
    for (;;) {
      std::uint32_t read = 0;
      CheckIo(files_.Read(handle_, piece.data(), kCopyPiece, read));
      if (read == 0) {
        break;
      }
      std::uint32_t written = 0;
      CheckIo(files_.Write(copy, piece.data(), read, written));
      if (written != read) {
        throw IoError(kIoDiskFull);
      }
    }
    CheckIo(files_.Flush(copy));
  } catch (...) {
    files_.Close(copy);
    throw;
  }
  CheckIo(files_.Close(copy));
}

void DatabankFile::PutInPlace(const std::string& side) {
  // The NT family replaces in one step, so the name never stands empty.
  if (files_.ReplaceAtomically(side, path_)) {
    return;
  }
  // Elsewhere the old file steps aside first. The next start tells each state between these
  // steps by the side files that exist (RecoverDatabank).
  const std::string old = Side(kDatabankOldExtension);
  if (files_.FileExists(old)) {
    files_.DeleteByName(old);  // left by an earlier run; the databank is whole
  }
  const bool had_file = files_.FileExists(path_);
  if (had_file && !files_.Rename(path_, old)) {
    files_.DeleteByName(side);
    throw IoError(kIoAccessDenied);
  }
  if (!files_.Rename(side, path_)) {
    // Back as it was; should even that fail, the next start finishes the save from the two
    // side files.
    if (!had_file || files_.Rename(old, path_)) {
      files_.DeleteByName(side);
    }
    throw IoError(kIoAccessDenied);
  }
  files_.DeleteByName(old);
}

SaveOutcome DatabankFile::SaveDatabank() {
  if (keep_file_) {
    return SaveOutcome::kLeftUnchanged;
  }
  // A databank made read-only is not to be written, and no rename shall strip that from it.
  std::uint32_t attributes = 0;
  if (files_.GetAttributes(path_, attributes) && (attributes & platform::kAttributeReadOnly) != 0) {
    throw IoError(kIoAccessDenied);
  }
  const std::string side = Side(kDatabankNewExtension);
  WriteSideFile(side);
  try {
    if (loaded_ == LoadOutcome::kPartly) {
      try {
        CopyDamagedFile();
      } catch (...) {
        files_.DeleteByName(side);
        throw;
      }
    }
    // No system renames a file that is open without delete sharing.
    if (IsOpen()) {
      const platform::FileHandle open = handle_;
      handle_ = platform::kNoHandle;
      files_.Close(open);
    }
    PutInPlace(side);
  } catch (...) {
    if (!IsOpen()) {
      files_.Open(path_, platform::Access::kReadWrite, platform::Disposition::kOpenExisting,
                  handle_);
    }
    throw;
  }
  // Left closed: the run ends now, and a handle of ours would only stand in the way of the
  // rename of a later save, by this tool or another.
  loaded_ = LoadOutcome::kWhole;
  return SaveOutcome::kSaved;
}

void DatabankFile::DeleteDatabank() {
  RequireOpen();
  const platform::FileHandle old = handle_;
  handle_ = platform::kNoHandle;
  CheckIo(files_.Close(old));
  // The side files first: while the databank is there, none of them is ever taken for it.
  files_.DeleteByName(Side(kDatabankNewExtension));
  files_.DeleteByName(Side(kDatabankOldExtension));
  files_.DeleteByName(path_);
  files_.DeleteByName(Side(kDatabankDamagedExtension));
}

}  // namespace core
