#!/usr/bin/env bash
# Builds the program and starts it under Wine, in the prefix build/win/wineprefix.
# Without a display it runs on a virtual one (Xvfb :77); watch it with
#   DISPLAY=:77 import -window root shot.png
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-win32.cmake >/dev/null
cmake --build build/win -j "$(nproc)" --target korvane_config
export WINEPREFIX="$root/build/win/wineprefix"
scripts/wine-prefix.sh
scripts/seed-prefix.sh
if [[ -z "${DISPLAY:-}" ]]; then
  Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
  export DISPLAY=:77
  sleep 1
  echo "No display: running on Xvfb $DISPLAY. Screenshot: DISPLAY=:77 import -window root shot.png"
fi
cd build/win/app
exec "$root/scripts/wine-run.sh" korvane_config.exe
