#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from a scratch copy of its seed corpus
# for a step of the given number of seconds (120 by default; longer runs by hand), in two lanes,
# one per core: the databank loader, whose inputs around the table's capacity cost the most,
# has a lane to itself for the whole step; the boot option rewrite and then the account rules
# share the other lane, half the step each. So the step is two pairs of targets side by side,
# and the databank loader is in both. Inputs that break an invariant are kept as
# <build dir>/artifacts/<target>-crash-*; the repository is never written. Fails when any
# target fails.
#
# The targets work on a drive held in memory; --files puts them on real files in a scratch
# directory instead (the portable backend; much slower), as does KORVANE_FUZZ_DRIVE=files.
#
#   fuzz/run.sh [--files] [build dir] [seconds]     e.g. fuzz/run.sh build/fuzz 3600
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
if [[ "${1:-}" == "--files" ]]; then
  export KORVANE_FUZZ_DRIVE=files
  shift
fi
build="${1:-build/fuzz}"
seconds="${2:-120}"
half=$((seconds / 2))
targets=(databank_fuzz boot_option_fuzz accounts_fuzz)
declare -A max_len=([databank_fuzz]=8192 [boot_option_fuzz]=4096 [accounts_fuzz]=4096)
declare -A time_of=([databank_fuzz]="$seconds" [boot_option_fuzz]="$half"
  [accounts_fuzz]="$((seconds - half))")

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANE_FUZZ=ON -DKORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/artifacts"

# Runs one target for its share of the step; its log is <build dir>/<target>.log and its exit
# status goes to the scratch directory. A slow input is chosen for mutation less often than a
# fast one (entropic_scale_per_exec_time), so the few inputs of 400 KB do not eat the step.
fuzz() {
  local target="$1" status=0
  mkdir -p "$scratch/$target"
  cp fuzz/corpus/"$target"/* "$scratch/$target/"
  "$build/fuzz/$target" -max_total_time="${time_of[$target]}" -max_len="${max_len[$target]}" \
    -timeout=10 -entropic_scale_per_exec_time=1 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "$scratch/$target" \
    >"$build/$target.log" 2>&1 || status=$?
  echo "$status" >"$scratch/$target.status"
}

fuzz databank_fuzz &
lane1=$!
{
  fuzz boot_option_fuzz
  fuzz accounts_fuzz
} &
lane2=$!
wait "$lane1" "$lane2"

status=0
for target in "${targets[@]}"; do
  if [[ "$(cat "$scratch/$target.status")" == 0 ]]; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")"
    echo "$target: $runs runs in ${time_of[$target]} s, no invariant broken"
  else
    status=1
    echo "$target FAILED; the last lines of $build/$target.log:"
    tail -n 40 "$build/$target.log"
  fi
done
exit "$status"
