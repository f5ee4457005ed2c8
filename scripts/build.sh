#!/usr/bin/env bash
# Builds the native tree and both Windows trees, and copies the programs into dist/, with a
# whole demo medium for each Windows build in dist/<arch>/demo-medium.
#   build/native   g++, the tests and benchmarks
#   build/i686     the Setup.exe that ships (no tests: this machine cannot run them)
#   build/x86_64   the same program for wine64 (this machine cannot run 32-bit code)
set -euo pipefail
cd "$(dirname "$0")/.."
werror=${SETUP_WERROR:-ON}

configure() {  # dir, extra args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETUP_WERROR="$werror" "$@" >/dev/null
}
configure build/native
configure build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DSETUP_TESTS=OFF
# The tree Wine runs, tests and all, optimised less: it builds in two thirds of the time, and
# what it is timed against under Wine is built alike.
configure build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG"
# clang builds everything once more in build/clang, with the sanitizers and the fuzz targets
# (scripts/test-sanitized.sh, scripts/fuzz.sh), with warnings as errors.
trees=(native i686 x86_64)
for tree in "${trees[@]}"; do
  ninja -C "build/$tree" --quiet
done
mkdir -p dist/native dist/i686 dist/x86_64
cp build/native/setupdata dist/native/
for arch in i686 x86_64; do
  cp build/$arch/setupdata.exe build/$arch/Setup.exe dist/$arch/
  # A whole medium: the setup, the stand-ins for the game and for DirectX, and its Setup.ini.
  medium=dist/$arch/demo-medium
  rm -rf "$medium" && cp -r demo/medium "$medium" && rm -f "$medium/Setup.ini"
  cp build/$arch/Setup.exe "$medium/"
  mkdir -p "$medium/DirectX"
  cp build/$arch/stand_in.exe "$medium/Hoshifuru.exe"
  cp build/$arch/stand_in.exe "$medium/DirectX/dxsetup.exe"
  dist/native/setupdata register "$medium" >/dev/null
done
