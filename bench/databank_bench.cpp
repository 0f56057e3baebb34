// Load and save of a full 255-user databank, each beside a baseline through the same backend.
// The save's baseline is the floor of any save that survives a crash: the same number of raw
// 512-byte records written once to a new file, flushed, and renamed over the databank. The load's
// is the same number of raw record reads. The databank's own work (position shift, filler, the
// side files, the look for an interrupted save at start-up) should cost little next to the system
// calls: goal within 1.2x.
#include <benchmark/benchmark.h>

#include <string>

#include "core/databank_file.h"
#include "platform/portable/scratch_drive.h"

namespace {

constexpr int kRecords = core::UserTable::kSlots * core::kRecordsPerEntry;

void FillTable(core::UserTable& table) {
  for (int k = 1; k <= core::UserTable::kSlots; ++k) {
    table.AppendUser("user number " + std::to_string(k), "password " + std::to_string(k));
  }
}

void BM_SaveFullDatabank(benchmark::State& state) {
  platform::ScratchDrive drive;
  core::UserTable table;
  core::DatabankFile databank(drive.files(), table);
  databank.OpenDatabank();
  FillTable(table);
  for (auto _ : state) {
    databank.SaveDatabank();
  }
}
BENCHMARK(BM_SaveFullDatabank);

void BM_WriteRawRecordsBaseline(benchmark::State& state) {
  platform::ScratchDrive drive;
  platform::FileSystem& files = drive.files();
  const std::string side = core::SideFileName(core::kDatabankPath, "new");
  std::uint8_t record[core::kRecordSize] = {};
  {
    platform::FileHandle handle = platform::kNoHandle;
    files.Open(core::kDatabankPath, platform::Access::kReadWrite,
               platform::Disposition::kCreateAlways, handle);
    files.Close(handle);
  }
  for (auto _ : state) {
    platform::FileHandle handle = platform::kNoHandle;
    files.Open(side, platform::Access::kWrite, platform::Disposition::kCreateAlways, handle);
    for (int r = 0; r < kRecords; ++r) {
      std::uint32_t done = 0;
      files.Write(handle, record, sizeof record, done);
    }
    files.Flush(handle);
    files.Close(handle);
    files.ReplaceAtomically(side, core::kDatabankPath);
  }
}
BENCHMARK(BM_WriteRawRecordsBaseline);

void BM_LoadFullDatabank(benchmark::State& state) {
  platform::ScratchDrive drive;
  {
    core::UserTable table;
    core::DatabankFile databank(drive.files(), table);
    databank.OpenDatabank();
    FillTable(table);
    databank.SaveDatabank();
  }
  for (auto _ : state) {
    core::UserTable table;
    core::DatabankFile databank(drive.files(), table);
    databank.OpenDatabank();
    benchmark::DoNotOptimize(table.Count());
  }
}
BENCHMARK(BM_LoadFullDatabank);

void BM_ReadRawRecordsBaseline(benchmark::State& state) {
  platform::ScratchDrive drive;
  {
    core::UserTable table;
    core::DatabankFile databank(drive.files(), table);
    databank.OpenDatabank();
    FillTable(table);
    databank.SaveDatabank();
  }
  std::uint8_t record[core::kRecordSize];
  for (auto _ : state) {
    platform::FileHandle handle = platform::kNoHandle;
    drive.files().FileExists(core::kDatabankPath);
    drive.files().Open(core::kDatabankPath, platform::Access::kReadWrite,
                       platform::Disposition::kOpenExisting, handle);
    for (int r = 0; r < kRecords; ++r) {
      std::uint32_t done = 0;
      if (r % core::kRecordsPerEntry == 0) {  // the load's end test, once per entry
        std::uint64_t size = 0;
        std::uint64_t position = 0;
        drive.files().Position(handle, position);
        drive.files().Size(handle, size);
      }
      drive.files().Read(handle, record, sizeof record, done);
    }
    benchmark::DoNotOptimize(record);
    drive.files().Close(handle);
  }
}
BENCHMARK(BM_ReadRawRecordsBaseline);

}  // namespace
