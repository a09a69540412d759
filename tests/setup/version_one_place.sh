#!/usr/bin/env bash
# The version is written once, in the CMake project: the sources and data carry no version
# number of their own, and what is made from them states the project's. The Debian changelog,
# which must name the version too, names the project's, dated the project's release date.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
version=$(sed -n 's/^project(Kalvo VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || fail "no version in the project line"
[ "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" = "$version" ] || fail "build is not configured for $version"
# The version as a number of its own, not the digits inside another (52.1668 holds 2.16).
pattern="(^|[^0-9.])${version//./\\.}([^0-9]|\$)"
found=$(grep -rnE "$pattern" "$src/src" "$src/data"/*.in "$src/data/man" "$src/data"/*.desktop || true)
[ -z "$found" ] || fail "the version is written in: $found"
found=$(grep -rn 'Ver\.[0-9]' "$src/src" || true)
[ -z "$found" ] || fail "a version text in the sources: $found"
grep -q "<release version=\"$version\"" "$build/io.github.kalvo.kalvo.metainfo.xml" || fail "metainfo release"
grep -q "\"Kalvo $version\"" "$build/man/kalvo.1" || fail "manual page version"
changelog=$src/debian/changelog
debian_version=$(sed -n '1s/^kalvo (\([^)]*\)) .*/\1/p' "$changelog")
[ "$debian_version" = "$version" ] || fail "debian/changelog is of version '$debian_version', the project of $version"
release=$(sed -n 's/^set(KALVO_RELEASE_DATE \([0-9-]*\))$/\1/p' "$src/CMakeLists.txt")
stamp=$(sed -n '/^ -- /{s/^ -- .*>  //p;q}' "$changelog")
[ -n "$release" ] && [ "$(date -u -d "$stamp" +%F)" = "$release" ] \
  || fail "debian/changelog is dated '$stamp', the release $release"
echo ok
