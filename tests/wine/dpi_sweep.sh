#!/usr/bin/env bash
# Runs tests/wine/dpi_layout_test.cpp at each DPI of the table, in a Wine prefix of its own: Wine
# lays a program out at the DPI of LogPixels, as Windows does a DPI-aware one at 100% to 200%.
#   tests/wine/dpi_sweep.sh UNIT_TESTS_EXE     (wants DISPLAY)
set -uo pipefail
[ -n "${DISPLAY:-}" ] || { echo "dpi_sweep.sh: no DISPLAY" >&2; exit 2; }
exe=$(realpath "$1") work=$(mktemp -d /tmp/setup-dpi.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
"$(dirname "$0")/../../scripts/wine-prefix.sh" "$WINEPREFIX" </dev/null >/dev/null 2>&1 || exit 2
export SETUP_BANNER_SIZES="Z:${work//\//\\}\\banner-sizes.txt" failed=0
for dpi in 96 120 144 192; do  # 96 first: it leaves the banner's size at 100% for the others
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  out=$(wine "$exe" --gtest_filter='DpiLayout.*' </dev/null 2>&1 | tr -d '\r')
  grep -E '^[0-9]+ DPI|Failure|FAILED' <<<"$out"
  grep -q '^\[  PASSED  \] 1 test\.' <<<"$out" || failed=1  # a run of no test passes too
done
exit $failed
