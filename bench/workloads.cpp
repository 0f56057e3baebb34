#include "bench/workloads.h"

#include "core/boot_options.h"
#include "platform/text_file.h"

namespace bench {
namespace {

void CopyFile(platform::FileSystem& files, const std::string& from, const std::string& to,
              std::vector<char>& block) {
  platform::FileHandle source = platform::kNoHandle;
  platform::FileHandle target = platform::kNoHandle;
  files.Open(from, platform::Access::kRead, platform::Disposition::kOpenExisting, source);
  files.Open(to, platform::Access::kWrite, platform::Disposition::kCreateAlways, target);
  for (;;) {
    std::uint32_t read = 0;
    files.Read(source, block.data(), static_cast<std::uint32_t>(block.size()), read);
    if (read == 0) {
      break;
    }
    std::uint32_t written = 0;
    files.Write(target, block.data(), read, written);
  }
  files.Close(source);
  files.Close(target);
}

}  // namespace

void FillTable(core::UserTable& table) {
  for (int k = 1; k <= core::UserTable::kSlots; ++k) {
    table.AppendUser("user number " + std::to_string(k), "password " + std::to_string(k));
  }
}

void SaveFullDatabank(platform::FileSystem& files) {
  core::UserTable table;
  core::DatabankFile databank(files, table);
  databank.OpenDatabank();
  FillTable(table);
  databank.SaveDatabank();
}

void WriteRawRecords(platform::FileSystem& files) {
  static const std::string side = core::SideFileName(core::kDatabankPath, "new");
  std::uint8_t record[core::kRecordSize] = {};
  platform::FileHandle handle = platform::kNoHandle;
  files.Open(side, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle);
  for (int r = 0; r < kDatabankRecords; ++r) {
    std::uint32_t done = 0;
    files.Write(handle, record, sizeof record, done);
  }
  files.Flush(handle);
  files.Close(handle);
  files.ReplaceAtomically(side, core::kDatabankPath);
}

void ReadRawRecords(platform::FileSystem& files) {
  std::uint8_t record[core::kRecordSize];
  platform::FileHandle handle = platform::kNoHandle;
  files.FileExists(core::kDatabankPath);
  files.Open(core::kDatabankPath, platform::Access::kReadWrite,
             platform::Disposition::kOpenExisting, handle);
  for (int r = 0; r < kDatabankRecords; ++r) {
    std::uint32_t done = 0;
    if (r % core::kRecordsPerEntry == 0) {
      std::uint64_t size = 0;
      std::uint64_t position = 0;
      files.Position(handle, position);
      files.Size(handle, size);
    }
    files.Read(handle, record, sizeof record, done);
  }
  files.Close(handle);
}

std::string BootFile(std::size_t size) {
  std::string text =
      "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n"
      "[Options]\r\nBootMulti=1\r\nBootGUI=1\r\nDoubleBuffer=1\r\nAutoScan=1\r\n";
  const std::string padding = ";" + std::string(67, 'x') + "\r\n";
  while (text.size() + padding.size() < size) {
    text += padding;
  }
  return text + "BootSafe=1\r\n";
}

void PlaceFile(platform::FileSystem& files, const std::string& path, const std::string& bytes) {
  platform::FileHandle handle = platform::kNoHandle;
  files.Open(path, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle);
  std::uint32_t done = 0;
  files.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
  files.Close(handle);
}

void CopyThreeTimes(platform::FileSystem& files, std::vector<char>& block) {
  CopyFile(files, core::kBootConfigPath, core::kBootBufferPath, block);
  CopyFile(files, core::kBootBufferPath, core::kBootNewPath, block);
  CopyFile(files, core::kBootNewPath, kThirdCopyPath, block);
  // Truncating a file that was just written makes the file system flush it first, which the
  // rewrite mostly does not pay.
  for (const char* copy : {core::kBootBufferPath, core::kBootNewPath, kThirdCopyPath}) {
    files.DeleteByName(copy);
  }
}

}  // namespace bench
