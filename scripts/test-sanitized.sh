#!/usr/bin/env bash
# The whole native test suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer:
# any leak, bad access or undefined behaviour fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-clang.sh
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/clang && ctest --output-on-failure -j2)
