// A drive C: of its own for one test, benchmark or fuzzing process: a fresh directory with
// "c:\windows\system" in it, behind the portable backend as drive C: and as the current
// directory, and removed with everything in it when the drive goes.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/portable/portable_file_system.h"

namespace platform {

class ScratchDrive {
 public:
  enum class Place {
    kTemp,    // the system's temporary directory
    kMemory,  // /dev/shm where there is one (many small files cost little there), else kTemp
  };

  // Throws std::runtime_error when no directory can be made.
  explicit ScratchDrive(Place place = Place::kTemp);
  ~ScratchDrive();
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;

  PortableFileSystem& files() { return *files_; }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  std::unique_ptr<PortableFileSystem> files_;
};

}  // namespace platform
