#!/usr/bin/env bash
# Fuzzes the data-file readers with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer for a
# bounded time each (seconds per target, 60 unless given). Any crash, leak, timeout or memory
# blow-up fails the run. The committed seeds are read, never rewritten.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ -f build/fuzz/build.ninja ] || cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DSETUP_FUZZ=ON -DSETUP_TESTS=OFF -DSETUP_BENCH=OFF \
  -DSETUP_WERROR=ON >/dev/null
ninja -C build/fuzz --quiet
work=$(mktemp -d /tmp/setup-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
for target in fuzz_setup_file fuzz_registration fuzz_profile; do
  mkdir -p "$work/$target"
  seeds=(fuzz/corpus/$target)
  [ -d fuzz/regressions/$target ] && seeds+=(fuzz/regressions/$target)
  dict=()
  [ -f fuzz/$target.dict ] && dict=(-dict=fuzz/$target.dict)
  if ! build/fuzz/fuzz/$target -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -malloc_limit_mb=256 \
       -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$work/" "${dict[@]}" \
       "$work/$target" "${seeds[@]}" >"$work/$target.log" 2>&1; then
    tail -40 "$work/$target.log"
    mkdir -p out/fuzz && cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* out/fuzz/ 2>/dev/null || true
    echo "$target: FAILED (artifacts in out/fuzz/)"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" | grep -o '[0-9]*$')
  cov=$(grep 'DONE' "$work/$target.log" | grep -o 'cov: [0-9]* ft: [0-9]*' | tail -1 || true)
  echo "$target: $runs executions in ${seconds} s, $cov"
done
