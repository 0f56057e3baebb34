// The file operations the tool needs, as one small interface with two backends: Win32 (what
// ships) and a portable one for the native build and its tests. Every operation reports its
// outcome as a Windows system error code or a plain bool; nothing here shows anything to the user.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// 0 means success; anything else is a Windows system error code (as GetLastError returns it).
using ErrorCode = std::uint32_t;

constexpr ErrorCode kNoError = 0;
constexpr ErrorCode kErrorFileNotFound = 2;
constexpr ErrorCode kErrorPathNotFound = 3;
constexpr ErrorCode kErrorTooManyOpenFiles = 4;
constexpr ErrorCode kErrorAccessDenied = 5;
constexpr ErrorCode kErrorInvalidHandle = 6;
constexpr ErrorCode kErrorSharingViolation = 32;
constexpr ErrorCode kErrorDiskFull = 112;
constexpr ErrorCode kErrorInvalidName = 123;
constexpr ErrorCode kErrorIoDevice = 1117;
// A write that stored fewer bytes than asked, with no error from the system. Bit 29 marks the
// codes an application defines; no system error code has it.
constexpr ErrorCode kErrorShortWrite = 0x20000000u | 101u;

// File attribute bits, as SetFileAttributesA takes them.
constexpr std::uint32_t kAttributeReadOnly = 1;
constexpr std::uint32_t kAttributeHidden = 2;
constexpr std::uint32_t kAttributeSystem = 4;
constexpr std::uint32_t kAttributeArchive = 32;
constexpr std::uint32_t kAttributeNormal = 128;

using FileHandle = std::intptr_t;
constexpr FileHandle kNoHandle = -1;

enum class Access { kRead, kWrite, kReadWrite };

// OpenExisting fails when the file is missing; CreateAlways creates or truncates.
enum class Disposition { kOpenExisting, kCreateAlways };

// Paths are Windows paths ("c:\windows\system\QslSysTbl.dll", or relative to the current
// directory, like "tempbuffer.zvk"); names are compared without letter case.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens with sharing for reading and writing and FILE_ATTRIBUTE_NORMAL for new files.
  virtual ErrorCode Open(const std::string& path, Access access, Disposition disposition,
                         FileHandle& handle) = 0;
  // One system call each: `done` receives how many bytes were read or written, which may be
  // fewer than `size` (a read at the end of the file, a full disk).
  virtual ErrorCode Read(FileHandle handle, void* buffer, std::uint32_t size,
                         std::uint32_t& done) = 0;
  virtual ErrorCode Write(FileHandle handle, const void* buffer, std::uint32_t size,
                          std::uint32_t& done) = 0;
  virtual ErrorCode Size(FileHandle handle, std::uint64_t& size) = 0;
  virtual ErrorCode Seek(FileHandle handle, std::uint64_t offset) = 0;
  virtual ErrorCode Position(FileHandle handle, std::uint64_t& offset) = 0;
  virtual ErrorCode Close(FileHandle handle) = 0;
  // Hands everything written through the handle to the disk (FlushFileBuffers): after a power
  // cut the file holds at least what was written before the flush.
  virtual ErrorCode Flush(FileHandle handle) = 0;

  // By name; each reports success or failure only.
  virtual bool FileExists(const std::string& path) = 0;  // a file, not a directory
  virtual bool DeleteByName(const std::string& path) = 0;
  // Erases a closed file like DeleteByName, but tells why it failed, for the text files whose
  // erase is checked like any other text-file operation.
  virtual ErrorCode Erase(const std::string& path) {
    if (DeleteByName(path)) {
      return kNoError;
    }
    return FileExists(path) ? kErrorAccessDenied : kErrorFileNotFound;
  }
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual bool GetAttributes(const std::string& path, std::uint32_t& attributes) = 0;
  // Fails when a file named `to` exists, as MoveFileA does.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Replaces an existing `to`, as CopyFileA with its fail-if-exists flag false.
  virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;
  // Puts `from` in the place of an existing `to` in one step, written through to the disk, where
  // the system has such a step (the NT family). False when it has none or the step failed; then
  // nothing has changed.
  virtual bool ReplaceAtomically(const std::string& from, const std::string& to) = 0;
};

}  // namespace platform
