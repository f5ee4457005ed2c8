#!/usr/bin/env bash
# Every test: set up the machine, build all trees, run the unit tests natively and, built for
# Windows, under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh

echo "== native tests"
(cd build/native && ctest --output-on-failure)

echo "== Windows tests under wine64"
prefix=$(mktemp -d /tmp/setup-wine.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Japanese locale: the system's own profile functions read CP932 under it.
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine build/x86_64/unit_tests.exe --gtest_brief=1
echo "all tests passed"
