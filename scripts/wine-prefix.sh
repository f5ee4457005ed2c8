#!/usr/bin/env bash
# Makes a Wine prefix ready for the setup:
#   scripts/wine-prefix.sh PREFIX [MEDIUM]
# Japanese fonts under the names the dialogs ask for (not with SETUP_FONT_REPLACEMENTS=no: a prefix
# as wineboot leaves it, as a player would have it), Wine drawing its own window frames (Xvfb has
# no window manager), no menu entries on the host for the shortcuts the setup makes, and MEDIUM,
# when given, as the CD-ROM drive D:.
set -euo pipefail
prefix=$1
medium=${2:-}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
wine wineboot -i >/dev/null 2>&1
fonts='HKCU\Software\Wine\Fonts\Replacements'
if [ "${SETUP_FONT_REPLACEMENTS:-yes}" != no ]; then
  for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
    wine reg add "$fonts" /v "$face" /d IPAPGothic /f >/dev/null 2>&1
  done
  for face in "ＭＳ ゴシック" "MS Gothic"; do
    wine reg add "$fonts" /v "$face" /d IPAGothic /f >/dev/null 2>&1
  done
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
if [ -n "$medium" ]; then
  ln -sfn "$(realpath "$medium")" "$prefix/dosdevices/d:"
  # The 64-bit view: with 32-bit Wine beside wine64, `wine reg` is the 32-bit tool, whose
  # HKLM\Software is Wow6432Node, where the mount manager never looks.
  wine reg add 'HKLM\Software\Wine\Drives' /v 'd:' /d cdrom /f /reg:64 >/dev/null 2>&1
fi
wineserver -w
