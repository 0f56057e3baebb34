// SetBootOption on boot files of 4 KiB, 1 MiB and 32 MiB, beside a baseline that copies the same
// file three times through the same backend in blocks of the text files' size. The rewrite reads
// and writes the file through two working files and keeps the old content for a failed rename,
// so three plain copies are its floor: goal within 2x of the baseline.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/boot_options.h"
#include "platform/portable/scratch_drive.h"
#include "platform/text_file.h"

namespace {

class NoMessages : public core::MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

// A boot file of about `size` bytes: the usual head and options, then padding lines of 70 bytes
// as Windows pads the file, with the key line at the very end so the whole tail is searched.
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

void SetBytesProcessed(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_SetBootOption(benchmark::State& state) {
  platform::ScratchDrive drive;
  PlaceFile(drive.files(), core::kBootConfigPath, BootFile(state.range(0)));
  NoMessages messages;
  core::BootOptionEditor editor(drive.files(), messages);
  // Value 0 turns the key line into "BOOTSAFE=0" at its place: every call after the first
  // rewrites the same file.
  for (auto _ : state) {
    benchmark::DoNotOptimize(editor.SetBootOption(core::kBootSafeKey, 0));
  }
  SetBytesProcessed(state);
}
BENCHMARK(BM_SetBootOption)
    ->Arg(4 << 10)
    ->Arg(1 << 20)
    ->Arg(32 << 20)
    ->Unit(benchmark::kMillisecond);

void BM_CopyThreeTimesBaseline(benchmark::State& state) {
  platform::ScratchDrive drive;
  PlaceFile(drive.files(), core::kBootConfigPath, BootFile(state.range(0)));
  std::vector<char> block(platform::kTextBlockSize);
  for (auto _ : state) {
    CopyFile(drive.files(), core::kBootConfigPath, core::kBootBufferPath, block);
    CopyFile(drive.files(), core::kBootBufferPath, core::kBootNewPath, block);
    CopyFile(drive.files(), core::kBootNewPath, "c:\\Msdos3.zvk", block);
    // Fresh files every time, as the rewrite's own are: truncating a file that was just
    // written makes the file system flush it first, which the rewrite mostly does not pay.
    for (const char* copy : {core::kBootBufferPath, core::kBootNewPath, "c:\\Msdos3.zvk"}) {
      drive.files().DeleteByName(copy);
    }
  }
  SetBytesProcessed(state);
}
BENCHMARK(BM_CopyThreeTimesBaseline)
    ->Arg(4 << 10)
    ->Arg(1 << 20)
    ->Arg(32 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
