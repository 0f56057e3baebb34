// The portable file backend of the native build and its tests: a directory stands for drive C:,
// path names are matched without letter case, POSIX errors come back as the Windows error codes
// the Win32 backend would give, and attribute bits are kept here, with the Windows rules that
// matter to the tool (drive_rules.h: a read-only file cannot be written or deleted, a hidden or
// system file cannot be truncated by a create; and a rename never replaces an existing name).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

class PortableFileSystem : public FileSystem {
 public:
  // `drive_c` stands for "c:\"; relative paths are taken from `current_directory`, which must
  // lie inside it.
  PortableFileSystem(std::filesystem::path drive_c, const std::filesystem::path& current_directory);
  ~PortableFileSystem() override;

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
  // POSIX rename, which replaces in one step.
  bool ReplaceAtomically(const std::string& from, const std::string& to) override;

  // The host path a Windows path stands for (existing components matched without letter case),
  // or an empty path with `error` set when the name cannot be mapped.
  std::filesystem::path HostPath(const std::string& path, ErrorCode& error) const;

 private:
  // The host paths of a rename or copy: false when `from` is no file or either name cannot be
  // mapped.
  bool SourceAndTarget(const std::string& from, const std::string& to,
                       std::filesystem::path& source, std::filesystem::path& target) const;
  // The host rename of both, with the source's attribute bits going to the target's name.
  bool MoveCarryingAttributes(const std::filesystem::path& source,
                              const std::filesystem::path& target);
  std::uint32_t AttributesOf(const std::filesystem::path& host) const;
  static std::string Key(const std::filesystem::path& host);

  std::filesystem::path drive_c_;
  // The current directory's components below drive_c_.
  std::vector<std::string> current_directory_;
  // Attribute bits by host path; a file without an entry has the archive bit only.
  std::map<std::string, std::uint32_t> attributes_;
};

}  // namespace platform
