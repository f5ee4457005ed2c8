#!/usr/bin/env bash
# Builds the native tree and the Windows trees, and copies the programs into dist/, with a whole
# demo medium for each Windows build in dist/<arch>/demo-medium.
#   build/native       g++, the tests and benchmarks
#   build/i686         the Setup.exe that ships, without tests
#   build/i686-tests   the same sources with the tests, run under 32-bit Wine (where it runs)
#   build/x86_64       the 64-bit programs; with the tests where 32-bit Wine does not run
#   build/wine         a link to the tree whose tests run under Wine (scripts/wine-arch.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
werror=${SETUP_WERROR:-ON}

configure() {  # dir, extra args...: again whenever the arguments change
  local dir=$1; shift
  local args=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DSETUP_WERROR="$werror" "$@")
  [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/configured-with" 2>/dev/null)" = "${args[*]}" ] && return
  cmake -S . -B "$dir" --no-warn-unused-cli "${args[@]}" >/dev/null
  echo "${args[*]}" >"$dir/configured-with"
}
wine_arch=$(scripts/wine-arch.sh 2>/dev/null)
# What Wine runs is optimised less: it builds in two thirds of the time, and what it is timed
# against under Wine is built alike. The scenarios run the Setup.exe that ships all the same.
tested=(-DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG")
configure build/native
configure build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DSETUP_TESTS=OFF
trees=(native i686 x86_64)
if [ "$wine_arch" = i686 ]; then
  configure build/i686-tests -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake "${tested[@]}" \
    -DSETUP_E2E_EXE="$PWD/build/i686/Setup.exe"
  configure build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "${tested[@]}" -DSETUP_TESTS=OFF
  trees+=(i686-tests)
  ln -sfn i686-tests build/wine
else
  configure build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "${tested[@]}" -DSETUP_TESTS=ON
  ln -sfn x86_64 build/wine
fi
# clang builds everything once more in build/clang, with the sanitizers and the fuzz targets
# (scripts/test-sanitized.sh, scripts/fuzz.sh), with warnings as errors.
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
