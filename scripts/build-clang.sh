#!/usr/bin/env bash
# Builds build/clang: everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer, the
# libFuzzer targets beside the tests, warnings as errors. One tree serves the sanitized suite
# (scripts/test-sanitized.sh) and the fuzzing (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/clang/build.ninja ] || cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DSETUP_FUZZ=ON -DSETUP_BENCH=OFF -DSETUP_WERROR=ON >/dev/null
ninja -C build/clang --quiet
