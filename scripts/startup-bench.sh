#!/usr/bin/env bash
# The start-up benchmark under Wine: starts the tool, the same windows made with plain calls and
# the bare window (bench/startup) in turn, RUNS times each (default 10), each to its main window
# shown and painted, and prints the medians and the tool's ratios to the other two. USERS
# (default 3) users are in the databank the tool loads.
#   bash scripts/startup-bench.sh [RUNS] [USERS]
# Runs on the display in $DISPLAY, or on a virtual one (Xvfb) when there is none.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
runs="${1:-10}"
users="${2:-3}"
scripts/install-deps.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-win32.cmake >/dev/null
cmake --build build/win -j 2 --target korvane_config same_windows bare_window \
  startup_bench

export WINEPREFIX="$root/build/win/wineprefix-bench"
export WINEDEBUG=-all
scripts/wine-prefix.sh
# Wine sees the Linux root as drive Z:.
windows_path() {
  local path
  path="$(realpath "$1")"
  echo "Z:${path//\//\\}"
}
tool="$(windows_path build/win/app/korvane_config.exe)"
floor="$(windows_path build/win/bench/startup/same_windows.exe)"
bare="$(windows_path build/win/bench/startup/bare_window.exe)"
# Wine's server and desktop are ended before the display goes away.
bench=(bash -c '"$@"; status=$?; wineserver -k 2>/dev/null; exit $status' startup-bench
       scripts/wine-run.sh build/win/bench/startup/startup_bench.exe
       "--tool=$tool" "--floor=$floor" "--bare=$bare" "--runs=$runs" "--users=$users")
if [[ -n "${DISPLAY:-}" ]]; then
  exec "${bench[@]}"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "${bench[@]}"
