#!/usr/bin/env bash
# Gives the prefix $WINEPREFIX what the tool expects to find on a Windows 98 machine.
set -euo pipefail
: "${WINEPREFIX:?}"
mkdir -p "$WINEPREFIX/drive_c/windows/system"
