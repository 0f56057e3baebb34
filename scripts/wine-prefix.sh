#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX once: a fresh Wine setup plus c:\windows\system.
set -euo pipefail
: "${WINEPREFIX:?}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [[ ! -f "$WINEPREFIX/.korvane-ready" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/system"
  touch "$WINEPREFIX/.korvane-ready"
fi
