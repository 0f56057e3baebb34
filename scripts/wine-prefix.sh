#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX once: a fresh 32-bit Wine setup plus c:\windows\system.
# The program is a 32-bit program; a 32-bit prefix is what a 9x machine is like (one system
# directory, one registry view) and is quicker to make than a 64-bit one.
set -euo pipefail
: "${WINEPREFIX:?}"
export WINEARCH="${WINEARCH:-win32}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [[ ! -f "$WINEPREFIX/.korvane-ready" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/system"
  # KORVANE_WINDOWS_VERSION=win98 (say) has the prefix report that Windows to every program.
  if [[ -n "${KORVANE_WINDOWS_VERSION:-}" ]]; then
    wine reg add 'HKCU\Software\Wine' /v Version /d "$KORVANE_WINDOWS_VERSION" /f >/dev/null 2>&1
    wineserver -w
  fi
  touch "$WINEPREFIX/.korvane-ready"
fi
