// A scratch drive C: for one test. Natively: a fresh temporary directory behind the portable
// backend, which stands for C: and is also the current directory; or, with the environment
// variable KORVANE_TEST_DRIVE=memory, a fresh drive held in memory whose root is the current
// directory, so the same tests check that drive's rules too. Under Wine: the real drive C:
// of the throwaway test prefix behind the Win32 backend, with the files the tests touch removed
// before and after each test and a fresh scratch directory as the current directory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"
#ifndef _WIN32
#include "platform/portable/memory_file_system.h"
#include "platform/portable/scratch_drive.h"
#endif

namespace testing_support {

// The bytes with carriage return, line feed and Ctrl-Z spelled out, so that a failing comparison
// shows where the line ends are.
std::string Visible(const std::string& bytes);

class TestDrive {
 public:
  TestDrive();
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  platform::FileSystem& files() { return *files_; }
  static bool IsWin32();
  static bool InMemory();

  // Whole-file helpers for arranging and inspecting a test, through the same backend.
  void WriteFile(const std::string& path, const std::string& bytes);
  std::string ReadFile(const std::string& path);
  bool Exists(const std::string& path) { return files_->FileExists(path); }
  std::uint32_t Attributes(const std::string& path);
  // Makes opening the file for writing fail until RestoreWritable: natively through the
  // read-only attribute; under Wine, which runs as root here and so cannot refuse a write by
  // attribute, by holding the file open without sharing.
  void MakeUnwritable(const std::string& path);
  void RestoreWritable(const std::string& path);

  // A directory of that name on the scratch drive (for tests that need one in the way).
  void MakeDirectory(const std::string& path);

 private:
  void RemoveScratchFiles();

#ifdef _WIN32
  std::unique_ptr<platform::FileSystem> win32_files_;
  platform::FileHandle lock_ = platform::kNoHandle;
#else
  std::unique_ptr<platform::ScratchDrive> scratch_;  // one of the two
  std::unique_ptr<platform::MemoryFileSystem> memory_;
#endif
  platform::FileSystem* files_ = nullptr;
};

}  // namespace testing_support
