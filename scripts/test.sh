#!/usr/bin/env bash
# Builds and runs every test: the native unit tests, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, two minutes of fuzzing, then the 32-bit Windows build: the
# import audit of the shipped program, the cross-built suite under Wine against the Win32
# backend, and the end-to-end tests that drive the real program under Wine and Xvfb.
# Fails when any fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
jobs="$(nproc)"

echo "== native unit tests (at ${SECONDS} s)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== native unit tests under ASan and UBSan (at ${SECONDS} s)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON \
  -DKORVANE_BENCH=OFF >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== fuzzing the databank loader, the boot option rewrite and the account rules, 120 s (at ${SECONDS} s)"
fuzz/run.sh build/fuzz 120

echo "== Windows build (32-bit): import audit, unit tests and end-to-end tests under Wine (at ${SECONDS} s)"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-win32.cmake >/dev/null
cmake --build build/win -j "$jobs"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build/win --output-on-failure
echo "== every test passed in ${SECONDS} s"
