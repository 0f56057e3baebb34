// Start-up benchmark: starts the tool, the same windows made with plain calls (the floor of what
// the tool's start-up must make) and the bare window in turn, N times each, and measures each
// from CreateProcess to its main window shown and painted. Prints every run, the medians and the
// tool's ratios to the other two.
//   startup_bench.exe --tool=korvane_config.exe --floor=same_windows.exe --bare=bare_window.exe
//                     [--runs=10] [--users=3]
// Before the runs it writes a databank of --users users (0: none, a first start), so that the
// tool loads what it would load on a machine in use.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDatabankPath[] = "c:\\windows\\system\\QslSysTbl.dll";
constexpr DWORD kPatience = 20000;  // ms a program may take to show its window

struct Options {
  std::string tool;
  std::string floor;
  std::string bare;
  int runs = 10;
  int users = 3;
};

bool TakeOption(const char* argument, const char* name, std::string& value) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0) {
    return false;
  }
  value = argument + length;
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (TakeOption(argv[i], "--tool=", options.tool) ||
        TakeOption(argv[i], "--floor=", options.floor) ||
        TakeOption(argv[i], "--bare=", options.bare)) {
      continue;
    }
    if (TakeOption(argv[i], "--runs=", value)) {
      options.runs = std::atoi(value.c_str());
    } else if (TakeOption(argv[i], "--users=", value)) {
      options.users = std::atoi(value.c_str());
    } else {
      return false;
    }
  }
  return !options.tool.empty() && !options.floor.empty() && !options.bare.empty() &&
         options.runs > 0 && options.users >= 0 && options.users <= 255;
}

// A databank of `users` entries "user k" / "password k": two decoys, then the data record with
// each byte shifted by its position in its half.
bool WriteDatabank(int users) {
  HANDLE file = CreateFileA(kDatabankPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool written = true;
  for (int k = 1; k <= users && written; ++k) {
    unsigned char entry[1536] = {};
    const std::string texts[] = {"user " + std::to_string(k), "password " + std::to_string(k)};
    for (int half = 0; half < 2; ++half) {
      unsigned char plain[256] = {static_cast<unsigned char>(texts[half].size())};
      std::memcpy(plain + 1, texts[half].data(), texts[half].size());
      for (int p = 0; p < 256; ++p) {
        entry[1024 + half * 256 + p] = static_cast<unsigned char>(plain[p] + p);
      }
    }
    DWORD done = 0;
    written = WriteFile(file, entry, sizeof entry, &done, nullptr) && done == sizeof entry;
  }
  CloseHandle(file);
  return written;
}

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id && IsWindowVisible(window) &&
      GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Starts `program` in its own folder and returns the milliseconds until its top-level window is
// visible with nothing left to paint; a negative number when it failed.
double TimeStart(const std::string& program) {
  std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return -1;
  }
  // The program goes idle for the first time when its message loop finds the queue empty, which
  // is after its window has been shown and painted; the poll below only confirms that.
  WaitForInputIdle(process.hProcess, kPatience);
  double elapsed = -1;
  for (;;) {
    Search search{process.dwProcessId, nullptr};
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (search.found && !GetUpdateRect(search.found, nullptr, FALSE)) {
      elapsed = Milliseconds(start, now);
      break;
    }
    if (Milliseconds(start, now) > kPatience ||
        WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      break;
    }
    Sleep(0);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: startup_bench --tool=PROGRAM --floor=PROGRAM --bare=PROGRAM [--runs=N] "
                 "[--users=N]\n");
    return 2;
  }
  if (!WriteDatabank(options.users)) {
    std::fprintf(stderr, "cannot write %s\n", kDatabankPath);
    return 1;
  }
  // The pointer is parked in a corner, away from where the windows appear: a window that comes up
  // under it gets a mouse move, and the tool would answer it (hints, tool tips) within the time.
  SetCursorPos(0, 0);
  const std::string programs[] = {options.tool, options.floor, options.bare};
  constexpr int kTool = 0, kFloor = 1, kBare = 2;
  // One start of each first, not counted: it brings the programs and libraries into memory.
  for (const std::string& program : programs) {
    if (TimeStart(program) < 0) {
      std::fprintf(stderr, "%s did not show its window\n", program.c_str());
      return 1;
    }
  }
  std::vector<double> times[3];
  std::vector<double> to_floor;
  std::vector<double> to_bare;
  for (int run = 0; run < options.runs; ++run) {
    // The order turns with each run, so that none always follows the same other one.
    double taken[3];
    for (int k = 0; k < 3; ++k) {
      const int which = (run + k) % 3;
      taken[which] = TimeStart(programs[which]);
      if (taken[which] < 0) {
        std::fprintf(stderr, "run %d: %s did not show its window\n", run + 1,
                     programs[which].c_str());
        return 1;
      }
    }
    for (int which = 0; which < 3; ++which) {
      times[which].push_back(taken[which]);
    }
    to_floor.push_back(taken[kTool] / taken[kFloor]);
    to_bare.push_back(taken[kTool] / taken[kBare]);
    std::printf("run %2d: tool %7.1f ms, same windows %7.1f ms, bare window %7.1f ms\n", run + 1,
                taken[kTool], taken[kFloor], taken[kBare]);
  }
  const double tool = Median(times[kTool]);
  const double floor = Median(times[kFloor]);
  const double bare = Median(times[kBare]);
  // The ratios within each run too: its starts run back to back, under the same load of the
  // machine, so their ratio varies less than the times do on a shared machine.
  std::printf("median of %d: tool %.1f ms, same windows %.1f ms, bare window %.1f ms\n",
              options.runs, tool, floor, bare);
  std::printf("tool / same windows %.2fx (median of the runs' ratios %.2fx)\n", tool / floor,
              Median(to_floor));
  std::printf(
      "tool / bare window %.2fx (median of the runs' ratios %.2fx); same windows / bare "
      "window %.2fx\n",
      tool / bare, Median(to_bare), floor / bare);
  return 0;
}
