#!/usr/bin/env bash
# Builds the native tree and both Windows trees, and copies the programs into dist/.
#   build/native   g++, the tests and benchmarks
#   build/i686     the Setup.exe that ships
#   build/x86_64   the same program for wine64 (this machine cannot run 32-bit code)
set -euo pipefail
cd "$(dirname "$0")/.."
werror=${SETUP_WERROR:-ON}

configure() {  # dir, extra args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETUP_WERROR="$werror" "$@" >/dev/null
}
configure build/native
configure build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
configure build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
for tree in native i686 x86_64; do
  ninja -C "build/$tree" --quiet
done
mkdir -p dist/native dist/i686 dist/x86_64
cp build/native/setupdata dist/native/
for arch in i686 x86_64; do
  cp build/$arch/setupdata.exe dist/$arch/
done
