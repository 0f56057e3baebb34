// Times the databank save and load and the boot option rewrite, each beside its floor
// (bench/workloads.h), as the program that ships does them: the same compilers, code generation
// and runtime, through the Win32 backend on drive C:. Google Benchmark needs std::mutex, which the
// shipped compilers' thread model lacks, so this program times with QueryPerformanceCounter and
// prints for each case the median of its runs, the floor's median and their ratio.
// scripts/file-bench.sh runs it for two code generations side by side.
//   file_bench.exe [--reps=N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/workloads.h"
#include "core/boot_options.h"
#include "core/databank_file.h"
#include "platform/text_file.h"
#include "platform/win32/win32_file_system.h"

namespace {

// Every file a case leaves on drive C:, cleared of the attributes that would refuse the next run.
void ClearDrive(platform::FileSystem& files) {
  const std::string left[] = {
      core::kDatabankPath,
      core::SideFileName(core::kDatabankPath, "new"),
      core::SideFileName(core::kDatabankPath, "old"),
      core::kBootConfigPath,
      core::kBootBufferPath,
      core::kBootNewPath,
      core::kBootOldPath,
      bench::kThirdCopyPath,
  };
  for (const std::string& path : left) {
    files.SetAttributes(path, 0);
    files.DeleteByName(path);
  }
}

double MedianMilliseconds(int reps, const std::function<void()>& work) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  work();  // uncounted: the file system's caches and the files' state then are as in every run
  std::vector<double> times;
  for (int rep = 0; rep < reps; ++rep) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  const std::size_t middle = times.size() / 2;
  return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

void Report(const char* name, double work_ms, double floor_ms) {
  std::printf("%-10s %10.3f ms  floor %10.3f ms  %5.2fx\n", name, work_ms, floor_ms,
              work_ms / floor_ms);
  std::fflush(stdout);
}

void TimeSave(platform::FileSystem& files, int reps) {
  ClearDrive(files);
  core::UserTable table;
  core::DatabankFile databank(files, table);
  databank.OpenDatabank();
  bench::FillTable(table);
  const double save = MedianMilliseconds(reps, [&] { databank.SaveDatabank(); });
  ClearDrive(files);
  bench::PlaceFile(files, core::kDatabankPath, "");
  const double floor = MedianMilliseconds(reps, [&] { bench::WriteRawRecords(files); });
  Report("save", save, floor);
}

void TimeLoad(platform::FileSystem& files, int reps) {
  ClearDrive(files);
  bench::SaveFullDatabank(files);
  const double load = MedianMilliseconds(reps, [&] {
    core::UserTable table;
    core::DatabankFile databank(files, table);
    databank.OpenDatabank();
  });
  const double floor = MedianMilliseconds(reps, [&] { bench::ReadRawRecords(files); });
  Report("load", load, floor);
}

void TimeBootRewrite(platform::FileSystem& files, int reps, const char* name, std::size_t size) {
  ClearDrive(files);
  const std::string boot_file = bench::BootFile(size);
  bench::PlaceFile(files, core::kBootConfigPath, boot_file);
  bench::NoMessages messages;
  core::BootOptionEditor editor(files, messages);
  // Value 0 turns the key line into "BOOTSAFE=0" at its place: every call rewrites the same file.
  const double rewrite =
      MedianMilliseconds(reps, [&] { editor.SetBootOption(core::kBootSafeKey, 0); });
  ClearDrive(files);
  bench::PlaceFile(files, core::kBootConfigPath, boot_file);
  std::vector<char> block(platform::kTextBlockSize);
  const double floor = MedianMilliseconds(reps, [&] { bench::CopyThreeTimes(files, block); });
  Report(name, rewrite, floor);
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 10;
  for (int k = 1; k < argc; ++k) {
    if (std::strncmp(argv[k], "--reps=", 7) == 0) {
      reps = std::max(1, std::atoi(argv[k] + 7));
    }
  }
  std::unique_ptr<platform::FileSystem> files = platform::MakeWin32FileSystem();
  TimeSave(*files, reps);
  TimeLoad(*files, reps);
  TimeBootRewrite(*files, reps, "boot-4k", std::size_t{4} << 10);
  TimeBootRewrite(*files, reps, "boot-1m", std::size_t{1} << 20);
  TimeBootRewrite(*files, reps, "boot-32m", std::size_t{32} << 20);
  ClearDrive(*files);
  return 0;
}
