#!/usr/bin/env bash
# Runs a Windows program under Wine in a self-contained prefix ($WINEPREFIX, by default
# build/win/wineprefix), made on first use to look like the machine the tool is for:
# c:\windows\system exists. Used as the emulator of the cross-built tests too.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build/win/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/wine-prefix.sh"
exec wine "$@"
