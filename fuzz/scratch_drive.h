// The drive C: of one fuzzing process, and whole-file helpers for it. By default a drive held in
// memory, which keeps the rules of the portable backend without a system call per file
// operation; with the environment variable KORVANE_FUZZ_DRIVE=files, a scratch drive on real
// files (under /dev/shm when there is one), removed at exit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/portable/memory_file_system.h"
#include "platform/portable/scratch_drive.h"

// A broken invariant ends the run with a crash, which libFuzzer records with its input.
#define FUZZ_REQUIRE(condition) \
  ((condition) ? (void)0 : fuzzing::Broken(#condition, __FILE__, __LINE__))

namespace fuzzing {

[[noreturn]] inline void Broken(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
  std::abort();
}

class ScratchDrive {
 public:
  ScratchDrive() {
    const char* drive = std::getenv("KORVANE_FUZZ_DRIVE");
    if (drive != nullptr && std::string(drive) == "files") {
      on_files_ = std::make_unique<platform::ScratchDrive>(platform::ScratchDrive::Place::kMemory);
      files_ = &on_files_->files();
    } else {
      in_memory_.MakeDirectory("c:\\windows\\system");
      files_ = &in_memory_;
    }
  }
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;

  platform::FileSystem& files() { return *files_; }

  // Replaces the file with `bytes`, whatever attributes the last run left on it.
  void Put(const std::string& path, std::string_view bytes, std::uint32_t attributes) {
    Put(path, {bytes}, attributes);
  }
  // The same with the bytes given in parts, written one after the other.
  void Put(const std::string& path, std::initializer_list<std::string_view> parts,
           std::uint32_t attributes) {
    files_->SetAttributes(path, 0);
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files_->Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways,
                              handle) == platform::kNoError);
    for (const std::string_view bytes : parts) {
      std::uint32_t done = 0;
      if (!bytes.empty()) {
        FUZZ_REQUIRE(files_->Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                   done) == platform::kNoError &&
                     done == bytes.size());
      }
    }
    FUZZ_REQUIRE(files_->Close(handle) == platform::kNoError);
    FUZZ_REQUIRE(files_->SetAttributes(path, attributes));
  }

  std::string Get(const std::string& path) {
    std::string bytes;
    Get(path, bytes);
    return bytes;
  }
  // Into `bytes`, whose room is reused.
  void Get(const std::string& path, std::string& bytes) {
    bytes.clear();
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files_->Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting,
                              handle) == platform::kNoError);
    char block[1 << 16];
    for (std::uint32_t done = 1; done > 0;) {
      FUZZ_REQUIRE(files_->Read(handle, block, sizeof block, done) == platform::kNoError);
      bytes.append(block, done);
    }
    FUZZ_REQUIRE(files_->Close(handle) == platform::kNoError);
  }

 private:
  platform::MemoryFileSystem in_memory_;
  std::unique_ptr<platform::ScratchDrive> on_files_;  // with KORVANE_FUZZ_DRIVE=files
  platform::FileSystem* files_ = nullptr;
};

}  // namespace fuzzing
