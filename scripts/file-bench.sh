#!/usr/bin/env bash
# The file benchmark of the Windows code generation, under Wine: the databank save and load and
# the boot option rewrite, each beside its floor (bench/files), in the build that ships (code for
# the 486, the rebuilt runtime: build/win) and in the comparison build (code for the Pentium Pro,
# Debian's runtime: build/win-p6). The two programs run in turn ROUNDS times (default 5), each
# case REPS times a round (default 10). It prints every round, then for each case the two builds'
# medians over the rounds, each with its ratio to its floor, and the 486 build's time as a share
# of the other's.
#   bash scripts/file-bench.sh [ROUNDS] [REPS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
rounds="${1:-5}"
reps="${2:-10}"
scripts/install-deps.sh
toolchain=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-win32.cmake)
cmake -S . -B build/win "${toolchain[@]}" >/dev/null
cmake --build build/win -j 2 --target file_bench
cmake -S . -B build/win-p6 "${toolchain[@]}" -DKORVANE_DEBIAN_RUNTIME=ON >/dev/null
cmake --build build/win-p6 -j 2 --target file_bench

export WINEPREFIX="$root/build/win/wineprefix-bench"
export WINEDEBUG=-all
results="$(mktemp)"
trap 'rm -f "$results"; wineserver -k 2>/dev/null || true' EXIT
scripts/wine-prefix.sh
# One server for all the runs: a program that starts while the last one's server is ending
# loses its connection.
wineserver -p
for ((round = 1; round <= rounds; ++round)); do
  # Turning order, so that neither build always meets the machine first.
  if ((round % 2)); then order=(486 p6); else order=(p6 486); fi
  for build in "${order[@]}"; do
    tree=build/win
    [[ $build == p6 ]] && tree=build/win-p6
    scripts/wine-run.sh "$tree/bench/files/file_bench.exe" "--reps=$reps" | tr -d '\r' |
      sed "s/^/$build /" | tee -a "$results"
  done
done

median() {
  sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# Lines read: build, case, time, "ms", "floor", floor time, "ms", ratio to the floor.
field() { awk -v build="$1" -v name="$2" -v column="$3" \
  '$1 == build && $2 == name { sub(/x$/, "", $column); print $column }' "$results" | median; }
echo
printf '%-10s %22s %22s %8s\n' case "486 ms (x floor)" "Pentium Pro ms (x floor)" "486/P6"
for name in $(awk '{ print $2 }' "$results" | awk '!seen[$0]++'); do
  i486="$(field 486 "$name" 3)"
  p6="$(field p6 "$name" 3)"
  printf '%-10s %12.3f (%5.2fx) %14.3f (%5.2fx) %7.2fx\n' "$name" "$i486" "$(field 486 "$name" 8)" \
    "$p6" "$(field p6 "$name" 8)" "$(awk -v a="$i486" -v b="$p6" 'BEGIN { print a / b }')"
done
