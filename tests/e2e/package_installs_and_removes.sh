#!/usr/bin/env bash
# scripts/package makes kalvo_<version>_<arch>.deb; its list and its control fields hold every
# file an installed Kalvo needs under /usr and the dependencies it runs with. As root, on a
# machine without Kalvo installed, the package is installed with apt, the installed program
# is started by the desktop entry's command from an empty folder and ended with Alt+Q, and the
# package is purged again: no file of it is left, nor any package that came in only for it.
set -eu  # no pipefail: grep -q may close a pipe early
src=$2
build=$3
fail() { echo "FAIL: $*"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
arch=$(dpkg --print-architecture)
id=io.github.kalvo.kalvo
here=$(mktemp -d)
installed_here=0
cleanup() {
  if [ $installed_here -eq 1 ]; then dpkg --purge kalvo >/dev/null 2>&1 || true; fi
  rm -rf "$here"
}
trap cleanup EXIT

bash "$src/scripts/package" "$build/package" >"$here/package.log" 2>&1 \
  || { cat "$here/package.log"; fail "scripts/package failed"; }
deb=$(tail -n 1 "$here/package.log")
[ "$(basename "$deb")" = "kalvo_${version}_${arch}.deb" ] || fail "package file is $deb"

# ---- the list -------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' > "$here/list"
grep -v '^/usr/' "$here/list" | grep -vx '/' > "$here/outside" || true
[ ! -s "$here/outside" ] || fail "paths outside /usr: $(cat "$here/outside")"
expected=(/usr/bin/kalvo /usr/share/kalvo/KalvoN.dat /usr/share/kalvo/KalvoS.dat
  "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml"
  /usr/share/man/man1/kalvo.1.gz /usr/share/doc/kalvo/copyright
  "/usr/share/icons/hicolor/scalable/apps/$id.svg")
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do grep -qx "$f" "$here/list" || fail "the package lacks $f"; done
dpkg-deb -c "$deb" | grep -q '^-rwxr-xr-x root/root .* \./usr/bin/kalvo$' || fail "/usr/bin/kalvo is not an executable of root"

# ---- the control fields -----------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kalvo ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), project $version"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
field Maintainer | grep -q '^[^<]\+ <[^@>]\+@[^>]\+>$' || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -ge 4 ] || fail "no long description"
field Description | grep -q '和暦' || fail "the description does not name the Japanese calendar"
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ *(.*//')
for p in qt6-qpa-plugins fonts-ipafont-gothic fonts-liberation libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  grep -qx "$p" <<<"$depends" || fail "Depends lacks $p: $(field Depends)"
done

# ---- the files as shipped -----------------------------------------------------------
mkdir "$here/root"
dpkg-deb -x "$deb" "$here/root"
out=$(desktop-file-validate "$here/root/usr/share/applications/$id.desktop" 2>&1) || fail "desktop file: $out"
[ -z "$out" ] || fail "desktop file: $out"
appstreamcli validate --no-net "$here/root/usr/share/metainfo/$id.metainfo.xml" >"$here/as.log" 2>&1 \
  || fail "metainfo: $(cat "$here/as.log")"
grep -q "<release version=\"$version\"" "$here/root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo release is not $version"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$here/root/usr/share/man/man1/kalvo.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
file -b "$here/root/usr/bin/kalvo" | grep -q 'ELF.*stripped' || fail "binary: $(file -b "$here/root/usr/bin/kalvo")"
file -b "$here/root/usr/bin/kalvo" | grep -q 'not stripped' && fail "the binary is not stripped"

# ---- install, start, remove ------------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then
  echo "not root: the package was checked, not installed"
  echo ok
  exit 0
fi
if dpkg-query -W -f='${Status}' kalvo 2>/dev/null | grep -q 'install ok installed'; then
  echo "kalvo is installed on this machine already: left alone, install step skipped"
  echo ok
  exit 0
fi
dpkg-query -W -f='${Package}\n' | sort > "$here/before"
apt=(apt-get -o DPkg::Lock::Timeout=300 -y -qq --no-install-recommends)
installed_here=1
DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "$deb" >"$here/apt.log" 2>&1 \
  || fail "apt-get install: $(tail -n 20 "$here/apt.log")"
dpkg-query -W -f='${Status}' kalvo | grep -q 'install ok installed' || fail "kalvo is not installed"

# The menu starts the desktop entry's command through the PATH.
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "/usr/share/applications/$id.desktop")
[ "$(command -v "$command")" = /usr/bin/kalvo ] || fail "'$command' is $(command -v "$command")"
bash "$src/tests/e2e/start_and_quit.sh" "$(command -v "$command")" "$src" "$build" || fail "the installed program"

DEBIAN_FRONTEND=noninteractive dpkg --purge kalvo >"$here/purge.log" 2>&1 || fail "dpkg --purge: $(cat "$here/purge.log")"
installed_here=0
dpkg-query -W -f='${Status}' kalvo 2>/dev/null | grep -q 'install ok installed' && fail "kalvo still installed"
while read -r path; do
  case $path in */) continue ;; esac  # folders such as /usr/share/icons are shared
  [ ! -e "$path" ] || fail "left behind: $path"
done < "$here/list"
for d in /usr/share/kalvo /usr/share/doc/kalvo; do [ ! -e "$d" ] || fail "left behind: $d"; done
# What apt brought in only for Kalvo goes too (packages marked as installed automatically).
dpkg-query -W -f='${Package}\n' | sort > "$here/after"
mapfile -t extra < <(comm -13 "$here/before" "$here/after" | grep -Fxf <(apt-mark showauto) || true)
if [ ${#extra[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive "${apt[@]}" purge "${extra[@]}" >/dev/null 2>&1 || fail "could not remove ${extra[*]}"
fi
echo ok
