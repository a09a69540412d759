#!/usr/bin/env bash
# A configure finds only Qt: GoogleTest, Google Benchmark and ICU are hidden from it. It still
# succeeds, says what it left out, and keeps the program, the install rules and the
# script-driven tests.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cmake -S "$src" -B "$here/build" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON >"$here/log" 2>&1 \
  || fail "configure failed: $(tail -n 20 "$here/log")"
grep -q 'unit and window tests left out' "$here/log" || fail "no note on the tests: $(cat "$here/log")"
grep -q 'benchmarks left out' "$here/log" || fail "no note on the benchmarks: $(cat "$here/log")"
targets=$(cmake --build "$here/build" --target help)
grep -q '\.\.\. kalvo$' <<<"$targets" || fail "no kalvo target"
grep -q 'test_core_calendar\|test_window\|bench_era' <<<"$targets" && fail "test or benchmark targets without their libraries"
listed=$(cd "$here/build" && ctest -N)
grep -q 'e2e.start_and_quit' <<<"$listed" || fail "the end-to-end tests were dropped"
echo ok
