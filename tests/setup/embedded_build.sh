#!/usr/bin/env bash
# Kalvo added to another project with add_subdirectory finds its own files (the icons, the
# era files, the manual page) from its own folder, not the outer project's, and its options
# keep working: with the tests and benchmarks off, the outer build has the program and none
# of their targets. The kalvo target is built, with its era files beside it.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$here/outer"
cat >"$here/outer/CMakeLists.txt" <<OUTER
cmake_minimum_required(VERSION 3.22)
project(Outer LANGUAGES CXX)
add_subdirectory("$src" kalvo)
OUTER
cmake -S "$here/outer" -B "$here/build" -DKALVO_BUILD_TESTS=OFF -DKALVO_BUILD_BENCH=OFF >"$here/log" 2>&1 \
  || fail "configure failed: $(tail -n 20 "$here/log")"
targets=$(cmake --build "$here/build" --target help)
grep -q '\.\.\. kalvo$' <<<"$targets" || fail "no kalvo target"
grep -q 'test_core_calendar\|test_window\|bench_era' <<<"$targets" && fail "test or benchmark targets built though off"
cmake --build "$here/build" --target kalvo -j2 >"$here/log" 2>&1 || fail "build failed: $(tail -n 20 "$here/log")"
[ -x "$here/build/kalvo/kalvo" ] || fail "no program at kalvo/kalvo in the outer build"
for f in KalvoN.dat KalvoS.dat; do
  cmp -s "$src/data/$f" "$here/build/kalvo/$f" || fail "$f is not beside the program"
done
[ -f "$here/build/kalvo/io.github.kalvo.kalvo.metainfo.xml" ] || fail "no software-centre data"
echo ok
