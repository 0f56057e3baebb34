#include "platform/portable/portable_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/portable/drive_rules.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// Windows codes of failures that only this backend has to name; nothing else looks at them.
constexpr ErrorCode kErrorFileExists = 80;
constexpr ErrorCode kErrorFilenameTooLong = 206;

// Windows error code of a POSIX failure. `path_missing` tells ENOENT for a missing directory
// on the way (3, "path not found") from a missing file (2).
ErrorCode FromErrno(int error, bool path_missing = false) {
  switch (error) {
    case ENOENT:
      return path_missing ? kErrorPathNotFound : kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kErrorAccessDenied;
    case EEXIST:
      return kErrorFileExists;
    case ENOSPC:
    case EDQUOT:
      return kErrorDiskFull;
    case ENAMETOOLONG:
      return kErrorFilenameTooLong;
    case EBADF:
      return kErrorInvalidHandle;
    default:
      return kErrorIoDevice;
  }
}

// The outcome of one read or write call that moved `n` bytes, or -1 with errno set.
ErrorCode Transferred(ssize_t n, std::uint32_t& done) {
  if (n < 0) {
    done = 0;
    return FromErrno(errno);
  }
  done = static_cast<std::uint32_t>(n);
  return kNoError;
}

// The entry of `directory` whose name equals `name` without letter case, else `name` itself.
std::string MatchEntry(const fs::path& directory, const std::string& name) {
  std::error_code ec;
  if (fs::exists(directory / name, ec)) {
    return name;
  }
  const std::string wanted = drive_rules::Folded(name);
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (drive_rules::Folded(entry) == wanted) {
      return entry;
    }
  }
  return name;
}

bool IsDirectory(const fs::path& host) {
  struct stat info {};
  return ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const fs::path& host) {
  struct stat info {};
  return ::stat(host.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

PortableFileSystem::PortableFileSystem(fs::path drive_c, const fs::path& current_directory)
    : drive_c_(std::move(drive_c)) {
  for (const fs::path& part : current_directory.lexically_relative(drive_c_)) {
    if (part != ".") {
      current_directory_.push_back(part.string());
    }
  }
}

PortableFileSystem::~PortableFileSystem() = default;

fs::path PortableFileSystem::HostPath(const std::string& path, ErrorCode& error) const {
  drive_rules::Components components;
  error = drive_rules::Resolve(path, current_directory_, components);
  if (error != kNoError) {
    return {};
  }
  fs::path host = drive_c_;
  for (const std::string& name : components) {
    host /= MatchEntry(host, name);
  }
  return host;
}

std::string PortableFileSystem::Key(const fs::path& host) {
  return drive_rules::Folded(host.string());
}

std::uint32_t PortableFileSystem::AttributesOf(const fs::path& host) const {
  const auto found = attributes_.find(Key(host));
  return found == attributes_.end() ? kAttributeArchive : found->second;
}

ErrorCode PortableFileSystem::Open(const std::string& path, Access access, Disposition disposition,
                                   FileHandle& handle) {
  handle = kNoHandle;
  ErrorCode error = kNoError;
  const fs::path host = HostPath(path, error);
  if (error != kNoError) {
    return error;
  }
  if (IsDirectory(host)) {
    return kErrorAccessDenied;
  }
  const bool exists = IsRegularFile(host);
  if (exists) {
    const ErrorCode refusal = drive_rules::OpenRefusal(AttributesOf(host), access, disposition);
    if (refusal != kNoError) {
      return refusal;
    }
  }

  int flags = access == Access::kRead ? O_RDONLY : access == Access::kWrite ? O_WRONLY : O_RDWR;
  if (disposition == Disposition::kCreateAlways) {
    flags |= O_CREAT | O_TRUNC;
  }
  const int fd = ::open(host.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    return FromErrno(errno, !IsDirectory(host.parent_path()));
  }
  if (disposition == Disposition::kCreateAlways) {
    attributes_[Key(host)] = drive_rules::kCreatedAttributes;
  }
  handle = fd;
  return kNoError;
}

ErrorCode PortableFileSystem::Read(FileHandle handle, void* buffer, std::uint32_t size,
                                   std::uint32_t& done) {
  return Transferred(::read(static_cast<int>(handle), buffer, size), done);
}

ErrorCode PortableFileSystem::Write(FileHandle handle, const void* buffer, std::uint32_t size,
                                    std::uint32_t& done) {
  return Transferred(::write(static_cast<int>(handle), buffer, size), done);
}

ErrorCode PortableFileSystem::Size(FileHandle handle, std::uint64_t& size) {
  struct stat info {};
  if (::fstat(static_cast<int>(handle), &info) != 0) {
    return FromErrno(errno);
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return kNoError;
}

ErrorCode PortableFileSystem::Seek(FileHandle handle, std::uint64_t offset) {
  if (::lseek(static_cast<int>(handle), static_cast<off_t>(offset), SEEK_SET) < 0) {
    return FromErrno(errno);
  }
  return kNoError;
}

ErrorCode PortableFileSystem::Position(FileHandle handle, std::uint64_t& offset) {
  const off_t at = ::lseek(static_cast<int>(handle), 0, SEEK_CUR);
  if (at < 0) {
    return FromErrno(errno);
  }
  offset = static_cast<std::uint64_t>(at);
  return kNoError;
}

ErrorCode PortableFileSystem::Close(FileHandle handle) {
  if (handle == kNoHandle) {
    return kErrorInvalidHandle;
  }
  if (::close(static_cast<int>(handle)) != 0) {
    return FromErrno(errno);
  }
  return kNoError;
}

ErrorCode PortableFileSystem::Flush(FileHandle handle) {
  if (handle == kNoHandle) {
    return kErrorInvalidHandle;
  }
  if (::fsync(static_cast<int>(handle)) != 0) {
    return FromErrno(errno);
  }
  return kNoError;
}

bool PortableFileSystem::FileExists(const std::string& path) {
  ErrorCode error = kNoError;
  const fs::path host = HostPath(path, error);
  return error == kNoError && IsRegularFile(host);
}

bool PortableFileSystem::DeleteByName(const std::string& path) {
  ErrorCode error = kNoError;
  const fs::path host = HostPath(path, error);
  if (error != kNoError || !IsRegularFile(host)) {
    return false;
  }
  if (!drive_rules::MayDelete(AttributesOf(host))) {
    return false;
  }
  if (::unlink(host.c_str()) != 0) {
    return false;
  }
  attributes_.erase(Key(host));
  return true;
}

bool PortableFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  ErrorCode error = kNoError;
  const fs::path host = HostPath(path, error);
  if (error != kNoError || !IsRegularFile(host)) {
    return false;
  }
  attributes_[Key(host)] = drive_rules::StoredAttributes(attributes);
  return true;
}

bool PortableFileSystem::GetAttributes(const std::string& path, std::uint32_t& attributes) {
  ErrorCode error = kNoError;
  const fs::path host = HostPath(path, error);
  if (error != kNoError || !IsRegularFile(host)) {
    return false;
  }
  attributes = drive_rules::ReportedAttributes(AttributesOf(host));
  return true;
}

bool PortableFileSystem::SourceAndTarget(const std::string& from, const std::string& to,
                                         fs::path& source, fs::path& target) const {
  ErrorCode error = kNoError;
  source = HostPath(from, error);
  if (error != kNoError || !IsRegularFile(source)) {
    return false;
  }
  target = HostPath(to, error);
  return error == kNoError;
}

bool PortableFileSystem::Rename(const std::string& from, const std::string& to) {
  fs::path source;
  fs::path target;
  std::error_code ec;
  if (!SourceAndTarget(from, to, source, target) || fs::exists(fs::symlink_status(target, ec))) {
    return false;
  }
  if (!IsDirectory(target.parent_path())) {
    return false;
  }
  return MoveCarryingAttributes(source, target);
}

bool PortableFileSystem::MoveCarryingAttributes(const fs::path& source, const fs::path& target) {
  if (::rename(source.c_str(), target.c_str()) != 0) {
    return false;
  }
  const std::uint32_t attributes = AttributesOf(source);
  attributes_.erase(Key(source));
  attributes_[Key(target)] = attributes;
  return true;
}

bool PortableFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
  fs::path source;
  fs::path target;
  if (!SourceAndTarget(from, to, source, target) || IsDirectory(target)) {
    return false;
  }
  if (IsRegularFile(target) && !drive_rules::MayReplaceByCopy(AttributesOf(target))) {
    return false;
  }
  std::error_code ec;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    return false;
  }
  attributes_[Key(target)] = drive_rules::CopiedAttributes(AttributesOf(source));
  return true;
}

bool PortableFileSystem::ReplaceAtomically(const std::string& from, const std::string& to) {
  fs::path source;
  fs::path target;
  // As MoveFileExA with MOVEFILE_REPLACE_EXISTING: the target must be a file that may be
  // written; a read-only one is refused.
  if (!SourceAndTarget(from, to, source, target) || !IsRegularFile(target) ||
      (AttributesOf(target) & kAttributeReadOnly) != 0 || Key(source) == Key(target)) {
    return false;
  }
  return MoveCarryingAttributes(source, target);
}

}  // namespace platform
