// The users databank file: the only persistent form of the user table, read by the protection
// program too. A plain sequence of 512-byte records, three per user: two decoys of random filler,
// then the data record, whose bytes are shifted by their position (p = offset mod 256) and whose
// unused tail is filler as well. The disguise uses no key.
//
// A save never writes over the file: the new content goes into a side file in the same folder,
// is flushed, and then takes the file's name, by one replacing rename where the system has one
// and by two renames through a backup name where it has not. Each state a crash can leave
// behind is told apart by the side files that exist, and the next start finishes or undoes the
// save (RecoverDatabank) before it loads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/user_table.h"
#include "platform/file_system.h"

namespace core {

inline constexpr char kDatabankPath[] = "c:\\windows\\system\\QslSysTbl.dll";
// The side files of a save, beside the databank: the new content while it is written, and the
// old file while the new one takes its name.
inline constexpr char kDatabankNewExtension[] = "new";
inline constexpr char kDatabankOldExtension[] = "old";
// A databank that could not be read whole is kept under this name when a save replaces it.
inline constexpr char kDatabankDamagedExtension[] = "bad";

// The path with its extension replaced ("c:\x\QslSysTbl.dll", "new" gives "c:\x\QslSysTbl.new").
std::string SideFileName(const std::string& path, const char* extension);
constexpr std::uint32_t kRecordSize = 512;
constexpr std::uint32_t kRecordsPerEntry = 3;

enum class SaveOutcome {
  kSaved,
  // No user could be read from the databank at start-up, so it was not replaced by whatever
  // the table holds now.
  kLeftUnchanged,
};

// How much of the databank the start-up read.
enum class LoadOutcome {
  kWhole,
  // Some entries were read, but not the whole file: a save keeps the damaged file beside the
  // new one.
  kPartly,
  // The file exists but no user could be read from it: it is never saved over.
  kUnread,
};

// The plain message that tells, after the start-up error box, what was read of a databank that
// could not be read whole and what will become of the file; empty for a whole read.
std::string LoadReport(LoadOutcome outcome, int users_read, const std::string& path);

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

  // Each raises IoError on a failed file operation; a write that stores fewer bytes than asked
  // is "Disk full".
  //
  // Runs RecoverDatabank first, then opens (or creates) and loads the databank.
  void OpenDatabank();
  // Finishes or undoes a save that a crash interrupted, from the side files it left, and
  // removes them. With no side file on the disk it only looks for them.
  void RecoverDatabank();
  void LoadDatabank();
  void SaveUserEntry(const UserRecord& user);
  // The old file stays whole until the new one is complete and flushed; a failure leaves it as
  // it was, open again, and raises the IoError. After a save the databank is closed.
  SaveOutcome SaveDatabank();
  // Closes and deletes the databank and the side files of a save.
  void DeleteDatabank();

  bool IsOpen() const { return handle_ != platform::kNoHandle; }
  LoadOutcome Loaded() const { return loaded_; }
  // Entries past the 255th found at loading; they are kept and written back after the table.
  std::size_t SurplusEntries() const { return surplus_.size(); }

 private:
  void Reopen(platform::Disposition disposition);
  // Raises the I/O error of an operation on a file that is not open.
  void RequireOpen() const;
  // The file holds users of whom none reached the table.
  void KeepUnreadFile();
  void ReadRecord(std::uint8_t* record);
  void WriteRecord(platform::FileHandle handle, const std::uint8_t* record);
  // The three records of the user's entry, written at the handle's position.
  void WriteEntry(platform::FileHandle handle, const UserRecord& user);
  // Writes the table into a new file, flushed and closed; removes it again on failure.
  void WriteSideFile(const std::string& side);
  // The databank's bytes as they are now, into a flushed file of their own.
  void CopyDamagedFile();
  // The written side file takes the databank's name; on failure the databank is as it was.
  void PutInPlace(const std::string& side);
  std::string Side(const char* extension) const { return SideFileName(path_, extension); }

  platform::FileSystem& files_;
  UserTable& table_;
  std::string path_;
  Clock clock_;
  platform::FileHandle handle_ = platform::kNoHandle;
  bool keep_file_ = false;  // the file holds users we could not read: never overwrite it
  LoadOutcome loaded_ = LoadOutcome::kWhole;
  std::vector<UserRecord> surplus_;
};

}  // namespace core
