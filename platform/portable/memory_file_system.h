// A drive C: held in memory, for the fuzz targets (which run hundreds of thousands of inputs and
// would spend their time in system calls on real files) and for tests that want no host files.
// It keeps the rules of the portable backend on host files (drive_rules.h: names without letter
// case, the attribute bits and what they refuse, the same error codes), and their POSIX side:
// an open handle keeps its file's bytes after the name is deleted, and a create that truncates a
// file truncates it for every handle open on it.
//
// For the tests of what a crash leaves on the disk it also keeps, for every file, what was last
// flushed, and can stop after a given number of calls that change the drive, as a killed process
// or a power cut would.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/portable/drive_rules.h"

namespace platform {

class MemoryFileSystem : public FileSystem {
 public:
  // An empty drive C: (the root directory only), with `current_directory` (a Windows path on
  // drive C:, made by MakeDirectory if it is not the root) for relative paths.
  explicit MemoryFileSystem(const std::string& current_directory = "c:\\");

  // Creates the directory and any missing directory above it; false when a file is in the way.
  bool MakeDirectory(const std::string& path);

  ErrorCode Open(const std::string& path, Access access, Disposition disposition,
                 FileHandle& handle) override;
  ErrorCode Read(FileHandle handle, void* buffer, std::uint32_t size, std::uint32_t& done) override;
  ErrorCode Write(FileHandle handle, const void* buffer, std::uint32_t size,
                  std::uint32_t& done) override;
  ErrorCode Size(FileHandle handle, std::uint64_t& size) override;
  ErrorCode Seek(FileHandle handle, std::uint64_t offset) override;
  ErrorCode Position(FileHandle handle, std::uint64_t& offset) override;
  ErrorCode Close(FileHandle handle) override;
  ErrorCode Flush(FileHandle handle) override;

  bool FileExists(const std::string& path) override;
  bool DeleteByName(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool GetAttributes(const std::string& path, std::uint32_t& attributes) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  // Fails unless SetAtomicReplace(true): the drive is a Windows 9x one by default.
  bool ReplaceAtomically(const std::string& from, const std::string& to) override;

  // Handles that are open now; a test's way to see that an operation closed what it opened.
  int OpenHandles() const;

  // Whether ReplaceAtomically works, as on the NT family.
  void SetAtomicReplace(bool available) { atomic_replace_ = available; }

  // The crash model. Every file as it stands now counts as flushed to the disk.
  void MarkAllFlushed();
  // From now on `changes` calls that change the drive run (creating or truncating opens, writes,
  // flushes, deletes, attribute changes, renames, copies, replaces); then the process is gone:
  // every later call fails and changes nothing, until Restart.
  void CrashAfter(int changes);
  // Calls that changed the drive since CrashAfter (or since the drive was made).
  int Changes() const { return changes_; }
  // The machine starts again: no handle is open and calls work. After a power cut every file
  // holds only what was flushed before the crash (nothing, for a file never flushed); after a
  // killed process every finished call is on the disk.
  enum class Crash { kProcessKilled, kPowerCut };
  void Restart(Crash crash);

 private:
  using Bytes = std::string;

  struct Entry {
    bool directory = false;
    std::uint32_t attributes = drive_rules::kCreatedAttributes;
    std::shared_ptr<Bytes> bytes;  // files only; shared with the handles open on the file
  };

  struct OpenFile {
    std::shared_ptr<Bytes> bytes;  // null while the handle is free
    std::uint64_t position = 0;
    bool readable = false;
    bool writable = false;
  };

  // Where a path leads: its key (the folded components joined by '\'), whether the directory it
  // would sit in exists, and its entry, if any.
  struct Place {
    ErrorCode error = kNoError;
    std::string key;
    bool root = false;
    bool parent_is_directory = false;
    Entry* entry = nullptr;

    bool IsFile() const { return entry != nullptr && !entry->directory; }
    // A file could be made at this name: it is valid, not the root, and its folder exists.
    bool InFolder() const { return error == kNoError && !root && parent_is_directory; }
  };
  Place Locate(const std::string& path);
  // The key of the first n components.
  static std::string KeyOf(const drive_rules::Components& components, std::size_t n);
  Entry* FileAt(const std::string& path);
  OpenFile* Handle(FileHandle handle);
  // Empty bytes for a new file, in the room of the last file deleted when there is one: the
  // fuzz targets delete and create the same file hundreds of thousands of times.
  std::shared_ptr<Bytes> NewFileBytes();
  // False once the process has crashed; a change counts towards the crash point.
  bool Alive() const { return crash_after_ < 0 || changes_ <= crash_after_; }
  bool Change();

  drive_rules::Components current_directory_;
  // Every directory and file by key; the root directory has the empty key and no entry.
  std::map<std::string, Entry> entries_;
  std::vector<OpenFile> handles_;  // handle h is handles_[h - 1]
  std::shared_ptr<Bytes> spare_;
  bool atomic_replace_ = false;
  // What was last flushed of each file's bytes, by the bytes it belongs to.
  std::map<const Bytes*, Bytes> flushed_;
  int changes_ = 0;
  int crash_after_ = -1;  // no crash planned
};

}  // namespace platform
