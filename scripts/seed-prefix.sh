#!/usr/bin/env bash
# Gives the prefix $WINEPREFIX what the tool expects to find on a Windows 98 machine: the system
# directory, and a typical boot configuration file (written by this project) when none exists,
# with the attributes read-only, hidden, system and archive.
set -euo pipefail
: "${WINEPREFIX:?}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/windows/system"
if ! ls "$drive" | grep -qix 'msdos.sys'; then
  printf '%s\r\n' "[Paths]" "WinDir=C:\\WINDOWS" "WinBootDir=C:\\WINDOWS" "HostWinBootDrv=C" \
    "" "[Options]" "BootMulti=1" "BootGUI=1" "DoubleBuffer=1" "AutoScan=1" "WinVer=4.10.2222" \
    ";" ";The following lines are required for compatibility with other programs." \
    ";Do not remove them (MSDOS.SYS needs to be >1024 bytes)." \
    $(for i in a b c d e f g h i j k l m n o p q r s; do echo ";xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx$i"; done) \
    > "$drive/Msdos.sys"
  WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all wine attrib +r +h +s +a 'c:\Msdos.sys' >/dev/null 2>&1 || true
fi
