#!/usr/bin/env bash
# Runs a Windows test program under Wine for CTest (the Windows trees' cross-compiling emulator):
#   scripts/wine-test.sh PROGRAM.exe [argument...]
# Its output loses Windows' CR before each LF, so CTest reads the test names GoogleTest lists.
# Without WINEPREFIX it uses (and first makes) the prefix wine-prefix beside the program.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX=$(cd "$(dirname "$1")" && pwd)/wine-prefix
  [ -f "$WINEPREFIX/system.reg" ] || "$here/wine-prefix.sh" "$WINEPREFIX" </dev/null >/dev/null 2>&1 ||
    { echo "wine-test.sh: no Wine prefix in $WINEPREFIX" >&2; exit 2; }
fi
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
# Japanese locale: the system's own profile functions read CP932 under it.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
wine "$@" | tr -d '\r'
