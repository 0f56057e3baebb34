#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from a scratch copy of its seed corpus,
# both at once, for the given number of seconds (60 by default; longer runs by hand). Inputs
# that break an invariant are kept as <build dir>/artifacts/<target>-crash-*; the repository
# is never written. Fails when any target fails.
#
#   fuzz/run.sh [build dir] [seconds]     e.g. fuzz/run.sh build/fuzz 3600
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build="${1:-build/fuzz}"
seconds="${2:-60}"
targets=(databank_fuzz boot_option_fuzz)
declare -A max_len=([databank_fuzz]=8192 [boot_option_fuzz]=4096)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANE_FUZZ=ON -DKORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/artifacts"
pids=()
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target"
  cp fuzz/corpus/"$target"/* "$scratch/$target/"
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$scratch/$target" \
    >"$build/$target.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  target="${targets[$i]}"
  if wait "${pids[$i]}"; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")"
    echo "$target: $runs runs in $seconds s, no invariant broken"
  else
    status=1
    echo "$target FAILED; the last lines of $build/$target.log:"
    tail -n 40 "$build/$target.log"
  fi
done
exit "$status"
