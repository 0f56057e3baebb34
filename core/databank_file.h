// The users databank file: the only persistent form of the user table, read by the protection
// program too. A plain sequence of 512-byte records, three per user: two decoys of random filler,
// then the data record, whose bytes are shifted by their position (p = offset mod 256) and whose
// unused tail is filler as well. The disguise uses no key.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/user_table.h"
#include "platform/file_system.h"

namespace core {

inline constexpr char kDatabankPath[] = "c:\\windows\\system\\QslSysTbl.dll";
constexpr std::uint32_t kRecordSize = 512;
constexpr std::uint32_t kRecordsPerEntry = 3;

enum class SaveOutcome {
  kSaved,
  // The databank existed at start-up but could not be opened, so it was not replaced by
  // whatever the table holds now.
  kLeftUnchanged,
};

class DatabankFile {
 public:
  // Milliseconds of the time of day; the filler generator is re-seeded from it at every entry.
  using Clock = std::function<std::uint32_t()>;
  static std::uint32_t TimeOfDayMilliseconds();

  DatabankFile(platform::FileSystem& files, UserTable& table, std::string path = kDatabankPath,
               Clock clock = TimeOfDayMilliseconds);
  DatabankFile(const DatabankFile&) = delete;
  DatabankFile& operator=(const DatabankFile&) = delete;
  ~DatabankFile();

  // Each raises IoError on a failed file operation: a full disk as "Disk full", however the
  // write found out.
  void OpenDatabank();
  void LoadDatabank();
  void SaveUserEntry(const UserRecord& user);
  SaveOutcome SaveDatabank();
  void DeleteDatabank();

  bool IsOpen() const { return handle_ != platform::kNoHandle; }
  // Entries past the 255th found at loading; they are kept and written back after the table.
  std::size_t SurplusEntries() const { return surplus_.size(); }

 private:
  void Reopen(platform::Disposition disposition);
  // Raises the I/O error of an operation on a file that is not open.
  void RequireOpen() const;
  // The file holds users that did not reach the table.
  void KeepUnreadFile();
  void ReadRecord(std::uint8_t* record);
  void WriteRecord(const std::uint8_t* record);

  platform::FileSystem& files_;
  UserTable& table_;
  std::string path_;
  Clock clock_;
  platform::FileHandle handle_ = platform::kNoHandle;
  bool keep_file_ = false;  // the file holds users we could not read: never overwrite it
  std::vector<UserRecord> surplus_;
};

}  // namespace core
