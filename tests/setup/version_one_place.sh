#!/usr/bin/env bash
# The version is written once, in the CMake project: the sources and data carry no version
# number of their own, and what is made from them states the project's.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
version=$(sed -n 's/^project(Kalvo VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || fail "no version in the project line"
[ "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" = "$version" ] || fail "build is not configured for $version"
found=$(grep -rnF "$version" "$src/src" "$src/data"/*.in "$src/data/man" "$src/data"/*.desktop || true)
[ -z "$found" ] || fail "the version is written in: $found"
found=$(grep -rn 'Ver\.[0-9]' "$src/src" || true)
[ -z "$found" ] || fail "a version text in the sources: $found"
grep -q "<release version=\"$version\"" "$build/io.github.kalvo.kalvo.metainfo.xml" || fail "metainfo release"
grep -q "\"Kalvo $version\"" "$build/man/kalvo.1" || fail "manual page version"
echo ok
