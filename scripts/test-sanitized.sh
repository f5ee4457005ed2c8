#!/usr/bin/env bash
# The whole native test suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer:
# any leak, bad access or undefined behaviour fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/asan/build.ninja ] || cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSETUP_SANITIZE=ON -DSETUP_BENCH=OFF -DSETUP_WERROR=ON >/dev/null
ninja -C build/asan --quiet
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/asan && ctest --output-on-failure)
