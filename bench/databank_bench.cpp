// Load and save of a full 255-user databank, each beside its floor through the same backend
// (bench/workloads.h). The databank's own work (position shift, filler, the side files, the look
// for an interrupted save at start-up) should cost little next to the system calls: goal within
// 1.2x for the save.
#include <benchmark/benchmark.h>

#include "bench/workloads.h"
#include "core/databank_file.h"
#include "platform/portable/scratch_drive.h"

namespace {

void BM_SaveFullDatabank(benchmark::State& state) {
  platform::ScratchDrive drive;
  core::UserTable table;
  core::DatabankFile databank(drive.files(), table);
  databank.OpenDatabank();
  bench::FillTable(table);
  for (auto _ : state) {
    databank.SaveDatabank();
  }
}
BENCHMARK(BM_SaveFullDatabank);

void BM_WriteRawRecordsBaseline(benchmark::State& state) {
  platform::ScratchDrive drive;
  bench::PlaceFile(drive.files(), core::kDatabankPath, "");
  for (auto _ : state) {
    bench::WriteRawRecords(drive.files());
  }
}
BENCHMARK(BM_WriteRawRecordsBaseline);

void BM_LoadFullDatabank(benchmark::State& state) {
  platform::ScratchDrive drive;
  bench::SaveFullDatabank(drive.files());
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
  bench::SaveFullDatabank(drive.files());
  for (auto _ : state) {
    bench::ReadRawRecords(drive.files());
  }
}
BENCHMARK(BM_ReadRawRecordsBaseline);

}  // namespace
