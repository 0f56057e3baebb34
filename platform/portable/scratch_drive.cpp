#include "platform/portable/scratch_drive.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace platform {

ScratchDrive::ScratchDrive(Place place) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base = place == Place::kMemory && fs::is_directory("/dev/shm", ec)
                            ? fs::path("/dev/shm")
                            : fs::temp_directory_path();
  std::string pattern = (base / "korvane-drive-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch directory in " + base.string());
  }
  root_ = pattern;
  fs::create_directories(root_ / "windows" / "system");
  files_ = std::make_unique<PortableFileSystem>(root_, root_);
}

ScratchDrive::~ScratchDrive() {
  files_.reset();
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

}  // namespace platform
