#include "platform/win32/win32_file_system.h"

#include <windows.h>

namespace platform {
namespace {

HANDLE ToHandle(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

ErrorCode LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? kErrorIoDevice : error;
}

}  // namespace

ErrorCode Win32FileSystem::Open(const std::string& path, Access access, Disposition disposition,
                                FileHandle& handle) {
  const DWORD rights = access == Access::kRead    ? GENERIC_READ
                       : access == Access::kWrite ? GENERIC_WRITE
                                                  : GENERIC_READ | GENERIC_WRITE;
  const DWORD how = disposition == Disposition::kOpenExisting ? OPEN_EXISTING : CREATE_ALWAYS;
  const HANDLE opened = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    handle = kNoHandle;
    return LastError();
  }
  handle = reinterpret_cast<FileHandle>(opened);
  return kNoError;
}

ErrorCode Win32FileSystem::Read(FileHandle handle, void* buffer, std::uint32_t size,
                                std::uint32_t& done) {
  DWORD read = 0;
  const BOOL ok = ReadFile(ToHandle(handle), buffer, size, &read, nullptr);
  done = read;
  return ok ? kNoError : LastError();
}

ErrorCode Win32FileSystem::Write(FileHandle handle, const void* buffer, std::uint32_t size,
                                 std::uint32_t& done) {
  DWORD written = 0;
  const BOOL ok = WriteFile(ToHandle(handle), buffer, size, &written, nullptr);
  done = written;
  return ok ? kNoError : LastError();
}

ErrorCode Win32FileSystem::Size(FileHandle handle, std::uint64_t& size) {
  DWORD high = 0;
  SetLastError(0);
  const DWORD low = GetFileSize(ToHandle(handle), &high);
  // INVALID_FILE_SIZE is also a valid low half, so the error code tells.
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    return LastError();
  }
  size = (static_cast<std::uint64_t>(high) << 32) | low;
  return kNoError;
}

ErrorCode Win32FileSystem::Seek(FileHandle handle, std::uint64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(0);
  const DWORD low =
      SetFilePointer(ToHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    return LastError();
  }
  return kNoError;
}

ErrorCode Win32FileSystem::Position(FileHandle handle, std::uint64_t& offset) {
  LONG high = 0;
  SetLastError(0);
  const DWORD low = SetFilePointer(ToHandle(handle), 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    return LastError();
  }
  offset = (static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32) | low;
  return kNoError;
}

ErrorCode Win32FileSystem::Close(FileHandle handle) {
  if (handle == kNoHandle) {
    return kErrorInvalidHandle;
  }
  return CloseHandle(ToHandle(handle)) ? kNoError : LastError();
}

bool Win32FileSystem::FileExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return false;
  }
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DeleteByName(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

ErrorCode Win32FileSystem::Erase(const std::string& path) {
  return DeleteFileA(path.c_str()) ? kNoError : LastError();
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Win32FileSystem::GetAttributes(const std::string& path, std::uint32_t& attributes) {
  const DWORD found = GetFileAttributesA(path.c_str());
  if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  attributes = found;
  return true;
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::CopyReplacing(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

}  // namespace platform
