#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <memory>

namespace platform {
namespace {

HANDLE ToHandle(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// MoveFileExA, which Windows 95, 98 and ME have only as a stub that fails: looked up by name at
// run time, so the program imports nothing that Windows 95 lacks.
using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

MoveFileExFunction FindMoveFileEx() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<MoveFileExFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")));
}

ErrorCode LastError() {
  const DWORD error = GetLastError();
  return error == 0 ? kErrorIoDevice : error;
}

class Win32FileSystem : public FileSystem {
 public:
  ErrorCode Open(const std::string& path, Access access, Disposition disposition,
                 FileHandle& handle) override {
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

  ErrorCode Read(FileHandle handle, void* buffer, std::uint32_t size,
                 std::uint32_t& done) override {
    DWORD read = 0;
    const BOOL ok = ReadFile(ToHandle(handle), buffer, size, &read, nullptr);
    done = read;
    return ok ? kNoError : LastError();
  }

  ErrorCode Write(FileHandle handle, const void* buffer, std::uint32_t size,
                  std::uint32_t& done) override {
    DWORD written = 0;
    const BOOL ok = WriteFile(ToHandle(handle), buffer, size, &written, nullptr);
    done = written;
    return ok ? kNoError : LastError();
  }

  ErrorCode Size(FileHandle handle, std::uint64_t& size) override {
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

  ErrorCode Seek(FileHandle handle, std::uint64_t offset) override {
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(0);
    const DWORD low = SetFilePointer(ToHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFFu),
                                     &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
      return LastError();
    }
    return kNoError;
  }

  ErrorCode Position(FileHandle handle, std::uint64_t& offset) override {
    LONG high = 0;
    SetLastError(0);
    const DWORD low = SetFilePointer(ToHandle(handle), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
      return LastError();
    }
    offset = (static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return kNoError;
  }

  ErrorCode Close(FileHandle handle) override {
    if (handle == kNoHandle) {
      return kErrorInvalidHandle;
    }
    return CloseHandle(ToHandle(handle)) ? kNoError : LastError();
  }

  ErrorCode Flush(FileHandle handle) override {
    return FlushFileBuffers(ToHandle(handle)) ? kNoError : LastError();
  }

  bool FileExists(const std::string& path) override {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      return false;
    }
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool DeleteByName(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  ErrorCode Erase(const std::string& path) override {
    return DeleteFileA(path.c_str()) ? kNoError : LastError();
  }

  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
  }

  bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
    const DWORD found = GetFileAttributesA(path.c_str());
    if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_DIRECTORY)) {
      return false;
    }
    attributes = found;
    return true;
  }

  bool Rename(const std::string& from, const std::string& to) override {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
  }

  bool CopyReplacing(const std::string& from, const std::string& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
  }

  bool ReplaceAtomically(const std::string& from, const std::string& to) override {
    // Looked up at the first save, not at start-up; on Windows 9x the stub fails with
    // ERROR_CALL_NOT_IMPLEMENTED, and the caller then takes its own way.
    if (!move_file_ex_looked_up_) {
      move_file_ex_ = FindMoveFileEx();
      move_file_ex_looked_up_ = true;
    }
    return move_file_ex_ != nullptr &&
           move_file_ex_(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

 private:
  MoveFileExFunction move_file_ex_ = nullptr;
  bool move_file_ex_looked_up_ = false;
};

}  // namespace

std::unique_ptr<FileSystem> MakeWin32FileSystem() {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace platform
