// The file backend that ships: each operation is one call of the Windows API (ANSI functions),
// with no buffering of our own.
#pragma once

#include "platform/file_system.h"

namespace platform {

class Win32FileSystem : public FileSystem {
 public:
  ErrorCode Open(const std::string& path, Access access, Disposition disposition,
                 FileHandle& handle) override;
  ErrorCode Read(FileHandle handle, void* buffer, std::uint32_t size, std::uint32_t& done) override;
  ErrorCode Write(FileHandle handle, const void* buffer, std::uint32_t size,
                  std::uint32_t& done) override;
  ErrorCode Size(FileHandle handle, std::uint64_t& size) override;
  ErrorCode Seek(FileHandle handle, std::uint64_t offset) override;
  ErrorCode Position(FileHandle handle, std::uint64_t& offset) override;
  ErrorCode Close(FileHandle handle) override;

  bool FileExists(const std::string& path) override;
  bool DeleteByName(const std::string& path) override;
  ErrorCode Erase(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool GetAttributes(const std::string& path, std::uint32_t& attributes) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
};

}  // namespace platform
