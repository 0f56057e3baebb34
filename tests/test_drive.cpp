#include "tests/test_drive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_file_system.h"
#else
#include <filesystem>
#endif

namespace testing_support {
namespace {

#ifdef _WIN32
// Everything the tests may leave on the prefix's drive C:; the prefix is thrown away with the
// build tree, but each test still starts from a clean drive.
const char* const kScratchFiles[] = {
    "c:\\windows\\system\\QslSysTbl.dll",
    "c:\\windows\\system\\QslSysTbl.new",
    "c:\\windows\\system\\QslSysTbl.old",
    "c:\\windows\\system\\QslSysTbl.bad",
    "c:\\Msdos.sys",
    "c:\\Msdos2.zvk",
    "c:\\Msdos.zvk",
    "c:\\tempbuffer.zvk",
    "c:\\korvanelog.txt",
    "c:\\windows\\logfile.zvk",
    "tempbuffer.zvk",
};
constexpr char kScratchDirectory[] = "c:\\korvane-tests";
std::vector<std::string> made_directories;
#endif

}  // namespace

std::string Visible(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c == 13) {
      shown += "<CR>";
    } else if (c == 10) {
      shown += "<LF>\n";
    } else if (c == 26) {
      shown += "<EOT>";
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

bool TestDrive::InMemory() {
#ifdef _WIN32
  return false;
#else
  static const bool in_memory = [] {
    const char* drive = std::getenv("KORVANE_TEST_DRIVE");
    return drive != nullptr && std::string(drive) == "memory";
  }();
  return in_memory;
#endif
}

bool TestDrive::IsWin32() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

TestDrive::TestDrive() {
#ifdef _WIN32
  win32_files_ = platform::MakeWin32FileSystem();
  files_ = win32_files_.get();
  CreateDirectoryA("c:\\windows\\system", nullptr);
  CreateDirectoryA(kScratchDirectory, nullptr);
  SetCurrentDirectoryA(kScratchDirectory);
  RemoveScratchFiles();
#else
  if (InMemory()) {
    memory_ = std::make_unique<platform::MemoryFileSystem>();
    memory_->MakeDirectory("c:\\windows\\system");
    files_ = memory_.get();
    return;
  }
  scratch_ = std::make_unique<platform::ScratchDrive>();
  files_ = &scratch_->files();
#endif
}

TestDrive::~TestDrive() {
#ifdef _WIN32
  if (lock_ != platform::kNoHandle) CloseHandle(reinterpret_cast<HANDLE>(lock_));
  RemoveScratchFiles();
  for (auto it = made_directories.rbegin(); it != made_directories.rend(); ++it) {
    RemoveDirectoryA(it->c_str());
  }
  made_directories.clear();
#endif
}

void TestDrive::RemoveScratchFiles() {
#ifdef _WIN32
  for (const char* name : kScratchFiles) {
    SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name);
  }
#endif
}

void TestDrive::MakeUnwritable(const std::string& path) {
#ifdef _WIN32
  const HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE) << path;
  lock_ = reinterpret_cast<platform::FileHandle>(lock);
#else
  ASSERT_TRUE(files_->SetAttributes(path, platform::kAttributeReadOnly)) << path;
#endif
}

void TestDrive::RestoreWritable(const std::string& path) {
#ifdef _WIN32
  (void)path;
  CloseHandle(reinterpret_cast<HANDLE>(lock_));
  lock_ = platform::kNoHandle;
#else
  ASSERT_TRUE(files_->SetAttributes(path, platform::kAttributeNormal)) << path;
#endif
}

void TestDrive::MakeDirectory(const std::string& path) {
#ifdef _WIN32
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
  made_directories.push_back(path);
#else
  if (memory_) {
    ASSERT_TRUE(memory_->MakeDirectory(path)) << path;
    return;
  }
  platform::ErrorCode error = platform::kNoError;
  auto host = scratch_->files().HostPath(path, error);
  ASSERT_EQ(error, platform::kNoError) << path;
  std::filesystem::create_directories(host);
#endif
}

void TestDrive::WriteFile(const std::string& path, const std::string& bytes) {
  platform::FileHandle handle = platform::kNoHandle;
  ASSERT_EQ(
      files_->Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle),
      platform::kNoError)
      << path;
  std::uint32_t done = 0;
  if (!bytes.empty()) {
    EXPECT_EQ(files_->Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done),
              platform::kNoError);
    EXPECT_EQ(done, bytes.size());
  }
  EXPECT_EQ(files_->Close(handle), platform::kNoError);
}

std::string TestDrive::ReadFile(const std::string& path) {
  platform::FileHandle handle = platform::kNoHandle;
  if (files_->Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting, handle) !=
      platform::kNoError) {
    ADD_FAILURE() << "cannot open " << path;
    return {};
  }
  std::string bytes;
  char block[65536];
  for (;;) {
    std::uint32_t done = 0;
    if (files_->Read(handle, block, sizeof block, done) != platform::kNoError || done == 0) {
      break;
    }
    bytes.append(block, done);
  }
  files_->Close(handle);
  return bytes;
}

std::uint32_t TestDrive::Attributes(const std::string& path) {
  std::uint32_t attributes = 0;
  EXPECT_TRUE(files_->GetAttributes(path, attributes)) << path;
  return attributes;
}

}  // namespace testing_support
