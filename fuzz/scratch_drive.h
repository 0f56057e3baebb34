// The drive C: of one fuzzing process: a fresh directory (in memory under /dev/shm when there is
// one, so the many small files cost little) behind the portable backend, removed at exit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/file_system.h"
#include "platform/portable/portable_file_system.h"

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
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "korvane-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    fs::create_directories(root_ / "windows" / "system");
    files_.emplace(root_, root_);
  }
  ~ScratchDrive() {
    files_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;

  platform::FileSystem& files() { return *files_; }

  // Replaces the file with `bytes`, whatever attributes the last run left on it.
  void Put(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
    files_->SetAttributes(path, 0);
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files_->Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways,
                              handle) == platform::kNoError);
    std::uint32_t done = 0;
    if (!bytes.empty()) {
      FUZZ_REQUIRE(files_->Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                 done) == platform::kNoError &&
                   done == bytes.size());
    }
    FUZZ_REQUIRE(files_->Close(handle) == platform::kNoError);
    FUZZ_REQUIRE(files_->SetAttributes(path, attributes));
  }

  std::string Get(const std::string& path) {
    platform::FileHandle handle = platform::kNoHandle;
    FUZZ_REQUIRE(files_->Open(path, platform::Access::kRead, platform::Disposition::kOpenExisting,
                              handle) == platform::kNoError);
    std::string bytes;
    char block[1 << 16];
    for (std::uint32_t done = 1; done > 0;) {
      FUZZ_REQUIRE(files_->Read(handle, block, sizeof block, done) == platform::kNoError);
      bytes.append(block, done);
    }
    FUZZ_REQUIRE(files_->Close(handle) == platform::kNoError);
    return bytes;
  }

 private:
  std::filesystem::path root_;
  std::optional<platform::PortableFileSystem> files_;
};

}  // namespace fuzzing
