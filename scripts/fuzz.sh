#!/usr/bin/env bash
# Fuzzes the data-file readers with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer for a
# bounded time each (seconds per target, 60 unless given), all three at once. Any crash, leak,
# timeout or memory blow-up fails the run. The committed seeds are read, never rewritten.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/build-clang.sh
work=$(mktemp -d /tmp/setup-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
targets=(fuzz_setup_file fuzz_registration fuzz_profile)
fuzz() {  # target: runs it, its log in $work/<target>.log
  local target=$1 seeds=(fuzz/corpus/$1) dict=()
  mkdir -p "$work/$target" "$work/$target-artifacts"
  [ -d fuzz/regressions/$target ] && seeds+=(fuzz/regressions/$target)
  [ -f fuzz/$target.dict ] && dict=(-dict=fuzz/$target.dict)
  build/clang/fuzz/$target -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 -malloc_limit_mb=256 \
    -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$work/$target-artifacts/" "${dict[@]}" \
    "$work/$target" "${seeds[@]}" >"$work/$target.log" 2>&1
}
pids=()
for target in "${targets[@]}"; do fuzz "$target" & pids+=($!); done
failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if ! wait "${pids[$i]}"; then
    tail -40 "$work/$target.log"
    mkdir -p out/fuzz && cp "$work/$target-artifacts"/* out/fuzz/ 2>/dev/null || true
    echo "$target: FAILED (artifacts in out/fuzz/)"
    failed=1
    continue
  fi
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" | grep -o '[0-9]*$')
  cov=$(grep 'DONE' "$work/$target.log" | grep -o 'cov: [0-9]* ft: [0-9]*' | tail -1 || true)
  echo "$target: $runs executions in ${seconds} s, $cov"
done
exit $failed
