#!/usr/bin/env bash
# Every test: set up the machine, build all trees, run the unit tests natively, under the
# sanitizers and, built for Windows, under Wine (the i686 build that ships, under 32-bit Wine where
# it runs); fuzz the readers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each step says when it starts, so a slow run shows where its time went.
step() { echo "== $* (at ${SECONDS} s)"; }
step "machine set-up"
scripts/setup-machine.sh
step "the code's formatting (scripts/format.sh formats it)"
scripts/format.sh --check
step "the trees built"
scripts/build.sh
# The build Wine runs, and, when it is not the i686 one that ships, why (one line).
arch=$(scripts/wine-arch.sh)

step "the shipping Setup.exe of both builds as Windows will load it: imports, known DLLs, NX, ASLR, manifest"
for build in i686 x86_64; do tests/binary/check.sh "$build" "dist/$build/Setup.exe"; done

step "native tests"
(cd build/native && ctest -j2 --output-on-failure)

# The clang tree (the sanitized suite, then the fuzzing) builds and runs beside the Windows tests,
# which spend much of their time waiting on Wine; its report follows theirs.
step "the clang tree: the native tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the readers fuzzed for ${SETUP_FUZZ_SECONDS:-30} s each, beside what follows"
clang_log=$(mktemp /tmp/setup-clang.XXXXXX)
(scripts/test-sanitized.sh && scripts/fuzz.sh "${SETUP_FUZZ_SECONDS:-30}") >"$clang_log" 2>&1 &
clang_job=$!

step "Windows tests of the $arch build under Wine, then the real $arch Setup.exe under Wine and Xvfb, driven as a player would"
prefix=$(mktemp -d /tmp/setup-wine.XXXXXX)
trap 'kill "$clang_job" 2>/dev/null || true; wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix" "$clang_log"' EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Japanese locale: the system's own profile functions read CP932 under it.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
scripts/wine-prefix.sh "$prefix"
# One server for every test program: each start is quicker.
wineserver -p </dev/null >/dev/null 2>&1
# The unit tests in one Wine process: a process per case would cost minutes of Wine start-ups
# (`ctest --test-dir build/wine -R NAME` runs one case alone). The window-system tests need a
# display; Xvfb gives them one. The scenarios, one CTest test each, make their own.
xvfb-run -a -s "-screen 0 1024x768x24" wine build/wine/unit_tests.exe --gtest_brief=1
ctest --test-dir build/wine --output-on-failure -R '^e2e\.'
# The setup's window at 100%, 125%, 150% and 200%, a Wine process for each.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build/wine --output-on-failure -R '^dpi_sweep$'

# Publishers may take either Windows tool: both where 32-bit Wine runs.
tools=(x86_64)
[ "$arch" = i686 ] && tools+=(i686)
work=$(mktemp -d /tmp/setup-tool.XXXXXX)
trap 'kill "$clang_job" 2>/dev/null || true; wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix" "$clang_log" "$work"' EXIT
cp -r demo/medium "$work/native" && rm -f "$work/native/Setup.ini"
dist/native/setupdata register "$work/native" >/dev/null
for tool in "${tools[@]}"; do
  step "setupdata.exe ($tool) under Wine registers the demo medium as the native tool does"
  rm -rf "$work/windows" && cp -r demo/medium "$work/windows" && rm -f "$work/windows/Setup.ini"
  wine "dist/$tool/setupdata.exe" register "$work/windows" >/dev/null
  cmp "$work/native/Setup.ini" "$work/windows/Setup.ini"
  diff <(dist/native/setupdata dump "$work/native/Setup.ini" --json) \
       <(wine "dist/$tool/setupdata.exe" dump "$work/windows/Setup.ini" --json | tr -d '\r')
  step "setupdata.exe ($tool) checks the test media and verifies the demo medium as the native tool does"
  diff <(scripts/check-media.sh dist/native/setupdata) <(scripts/check-media.sh wine "dist/$tool/setupdata.exe")
done
step "the benchmarks at their smallest sizes, one round each: each runs to its end and prints its figures (none is checked)"
smoke() {  # last line's start, command...
  local out
  out=$("${@:2}" 2>&1) && grep -q "^$1" <<<"${out##*$'\n'}" || { echo "$out"; echo "benchmark failed: ${*:2}"; return 1; }
}
smoke 'longest time between two queue drains' build/native/bench_install 1 1
smoke 'should stay flat' build/native/bench_uninstall 400
smoke 'RegisterFromSource/1000 ' build/native/bench_setupdata --benchmark_min_time=0.01 --benchmark_filter='File/10000$|Source/1000$'
# In a prefix of its own: in this run's, left by programs of a display now gone, the setup hung.
smoke 'peak working set of Setup.exe' timeout 300 bench/wine_install 64 1 1
step "the clang tree's report"
if ! wait "$clang_job"; then tail -60 "$clang_log"; echo "the clang tree failed"; exit 1; fi
grep -E 'tests passed|executions in' "$clang_log"
step "all tests passed"
