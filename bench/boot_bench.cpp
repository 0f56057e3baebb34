// SetBootOption on boot files of 4 KiB, 1 MiB and 32 MiB, beside its floor of three plain copies
// through the same backend (bench/workloads.h): goal within 2x of the floor.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/workloads.h"
#include "core/boot_options.h"
#include "platform/portable/scratch_drive.h"
#include "platform/text_file.h"

namespace {

void SetBytesProcessed(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_SetBootOption(benchmark::State& state) {
  platform::ScratchDrive drive;
  bench::PlaceFile(drive.files(), core::kBootConfigPath, bench::BootFile(state.range(0)));
  bench::NoMessages messages;
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
  bench::PlaceFile(drive.files(), core::kBootConfigPath, bench::BootFile(state.range(0)));
  std::vector<char> block(platform::kTextBlockSize);
  for (auto _ : state) {
    bench::CopyThreeTimes(drive.files(), block);
  }
  SetBytesProcessed(state);
}
BENCHMARK(BM_CopyThreeTimesBaseline)
    ->Arg(4 << 10)
    ->Arg(1 << 20)
    ->Arg(32 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
