// The drive C: of one fuzzing process: a scratch drive in memory (under /dev/shm when there is
// one, so the many small files cost little), removed at exit, and whole-file helpers for it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_system.h"
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
  platform::FileSystem& files() { return drive_.files(); }

  // Replaces the file with `bytes`, whatever attributes the last run left on it.
  void Put(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
    files().SetAttributes(path, 0);
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files().Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways,
                              handle) == platform::kNoError);
    std::uint32_t done = 0;
    if (!bytes.empty()) {
      FUZZ_REQUIRE(files().Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                 done) == platform::kNoError &&
                   done == bytes.size());
    }
    FUZZ_REQUIRE(files().Close(handle) == platform::kNoError);
    FUZZ_REQUIRE(files().SetAttributes(path, attributes));
  }

  std::string Get(const std::string& path) {
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files().Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting,
                              handle) == platform::kNoError);
    std::string bytes;
    char block[1 << 16];
    for (std::uint32_t done = 1; done > 0;) {
      FUZZ_REQUIRE(files().Read(handle, block, sizeof block, done) == platform::kNoError);
      bytes.append(block, done);
    }
    FUZZ_REQUIRE(files().Close(handle) == platform::kNoError);
    return bytes;
  }

 private:
  platform::ScratchDrive drive_{platform::ScratchDrive::Place::kMemory};
};

}  // namespace fuzzing
