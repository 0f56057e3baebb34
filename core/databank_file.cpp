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

}  // namespace

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

void DatabankFile::OpenDatabank() {
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
    // call, or a short read with a whole entry left) leaves unread users in the file, which a
    // quit would then wipe out.
    const bool incomplete_last = size - position < std::uint64_t{kRecordSize} * kRecordsPerEntry;
    if (error.code() != kIoReadBeyondEnd || !incomplete_last) {
      KeepUnreadFile();
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

void DatabankFile::WriteRecord(const std::uint8_t* record) {
  RequireOpen();
  std::uint32_t done = 0;
  CheckIo(files_.Write(handle_, record, kRecordSize, done));
  if (done != kRecordSize) {
    throw IoError(kIoDiskFull);
  }
}

void DatabankFile::SaveUserEntry(const UserRecord& user) {
  // Read where it lies: the entry is built in a buffer of its own, so no copy of the slot.
  const auto* slot = reinterpret_cast<const std::uint8_t*>(&user);
  const std::uint32_t seed = clock_();

  RequireOpen();
  std::uint64_t size = 0;
  CheckIo(files_.Size(handle_, size));
  CheckIo(files_.Seek(handle_, size / kRecordSize * kRecordSize));

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
  WriteRecord(entry);
  WriteRecord(entry + kRecordSize);
  WriteRecord(data);
}

SaveOutcome DatabankFile::SaveDatabank() {
  if (keep_file_) {
    return SaveOutcome::kLeftUnchanged;
  }
  Reopen(platform::Disposition::kCreateAlways);
  for (int k = 1; k <= table_.Count(); ++k) {
    SaveUserEntry(table_.Slot(k));
  }
  for (const UserRecord& user : surplus_) {
    SaveUserEntry(user);
  }
  return SaveOutcome::kSaved;
}

void DatabankFile::DeleteDatabank() {
  RequireOpen();
  const platform::FileHandle old = handle_;
  handle_ = platform::kNoHandle;
  CheckIo(files_.Close(old));
  files_.DeleteByName(path_);
}

}  // namespace core
