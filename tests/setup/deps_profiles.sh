#!/usr/bin/env bash
# scripts/deps: the run profile holds no test, benchmark or fuzz tool; every other profile
# holds the run profile; and a missing package on a machine where the user is neither root
# nor has sudo ends with the install line to run as root, not with a failed sudo. dpkg-query
# itself reports the packages missing, from an empty package database (DPKG_ADMINDIR).
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
cp "$src/scripts/deps" "$here/deps"

fail() { echo "FAIL: $*"; exit 1; }

run_list=$(bash "$here/deps" --list run)
for p in build-essential cmake qt6-base-dev qt6-qpa-plugins fonts-ipafont-gothic fonts-liberation qt6-translations-l10n; do
  grep -qx "$p" <<<"$run_list" || fail "run profile lacks $p"
done
for p in clang libclang-rt-dev libgtest-dev libbenchmark-dev valgrind imagemagick strace xvfb xdotool dbus-x11; do
  ! grep -qx "$p" <<<"$run_list" || fail "run profile pulls in $p"
done
for profile in test bench fuzz package; do
  list=$(bash "$here/deps" --list "$profile")
  while read -r p; do
    grep -qx "$p" <<<"$list" || fail "$profile profile lacks run's $p"
  done <<<"$run_list"
done
grep -qx libgtest-dev <<<"$(bash "$here/deps" --list test)" || fail "test profile lacks libgtest-dev"
grep -qx clang <<<"$(bash "$here/deps" --list fuzz)" || fail "fuzz profile lacks clang"
grep -qx libbenchmark-dev <<<"$(bash "$here/deps" --list bench)" || fail "bench profile lacks libbenchmark-dev"
grep -qx valgrind <<<"$(bash "$here/deps" --list bench)" || fail "bench profile lacks valgrind"
package_list=$(bash "$here/deps" --list package)
# scripts/package builds with what the package profile installs: every Build-Depends of
# debian/control (the build-time tests' too), and dpkg-buildpackage itself.
build_depends=$(sed -n '/^Build-Depends:/,/^[A-Z]/p' "$src/debian/control" | sed '$d; s/^Build-Depends://' \
  | tr ',' '\n' | sed 's/[(<].*//; s/ //g' | grep -v '^$')
[ -n "$build_depends" ] || fail "no Build-Depends in debian/control"
for p in dpkg-dev $build_depends; do
  [ "$p" = debhelper-compat ] && p=debhelper
  grep -qx "$p" <<<"$package_list" || fail "package profile lacks $p"
done
if bash "$here/deps" nonsense 2>/dev/null; then fail "an unknown profile was accepted"; fi

# A PATH with just what the script needs, and no sudo on it.
mkdir -p "$here/bin" "$here/admin"
: > "$here/admin/status"
for c in bash env id dpkg-query grep awk cat; do ln -s "$(command -v $c)" "$here/bin/$c"; done
chmod -R a+rX "$here"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi

set +e
out=$(DPKG_ADMINDIR="$here/admin" "${as_user[@]}" env PATH="$here/bin" bash "$here/deps" run 2>&1)
status=$?
set -e
[ $status -ne 0 ] || fail "missing packages without root or sudo reported success"
grep -q 'not found' <<<"$out" && fail "the message is a shell error: $out"
grep -q 'no sudo' <<<"$out" || fail "the message does not say why: $out"
grep -q '^ *apt-get update && apt-get install -y --no-install-recommends build-essential cmake .*fonts-liberation qt6-translations-l10n$' <<<"$out" \
  || fail "the message does not give the install line: $out"
grep -q 'clang' <<<"$out" && fail "the run profile's install line names clang: $out"

# With sudo on the PATH the same packages go through it: update once, then one install.
cat > "$here/bin/sudo" <<'SUDO'
#!/bin/bash
echo "$*" >> "${0%/bin/sudo}/sudo.log"
SUDO
chmod a+rx "$here/bin/sudo"
touch "$here/sudo.log"
chmod a+rw "$here/sudo.log"
DPKG_ADMINDIR="$here/admin" "${as_user[@]}" env PATH="$here/bin" bash "$here/deps" fuzz >/dev/null \
  || fail "the install through sudo failed"
[ "$(sed -n 1p "$here/sudo.log")" = "apt-get update -qq" ] || fail "sudo log: $(cat "$here/sudo.log")"
sed -n 2p "$here/sudo.log" | grep -q '^apt-get install -y -qq --no-install-recommends build-essential .* clang libclang-rt-dev$' \
  || fail "sudo log: $(cat "$here/sudo.log")"
[ "$(wc -l < "$here/sudo.log")" -eq 2 ] || fail "sudo log: $(cat "$here/sudo.log")"
echo ok
