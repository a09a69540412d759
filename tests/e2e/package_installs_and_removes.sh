#!/usr/bin/env bash
# scripts/package makes the source package, kalvo_<version>_<arch>.deb and its -dbgsym .deb
# with dpkg-buildpackage. A second build of the same tree in another folder, without the
# build-time tests, with another umask, time zone and locale, gives byte-identical .debs and
# source package. The .deb holds every file an installed Kalvo needs under /usr, depends on
# what it needs and recommends the rest; lintian --pedantic finds no error or warning; the
# program is hardened. As root, on a machine without Kalvo installed, the package is installed
# with apt, the autopkgtest (debian/tests/start-and-quit) starts it from an empty folder and
# ends it with Alt+Q, and the package is purged again: no file of it is left, nor any package
# that came in only for it.
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

# ---- two builds -----------------------------------------------------------------
start=$(date +%s)
bash "$src/scripts/package" "$build/package" >"$here/package.log" 2>&1 \
  || { cat "$here/package.log"; fail "scripts/package failed"; }
first=$(($(date +%s) - start))
deb=$(tail -n 1 "$here/package.log")
[ "$deb" = "$build/package/kalvo_${version}_${arch}.deb" ] || fail "package file is $deb"
dbgsym=$build/package/kalvo-dbgsym_${version}_${arch}.deb
for f in "kalvo_$version.dsc" "kalvo_$version.tar.xz" "kalvo_${version}_$arch.buildinfo" \
         "kalvo_${version}_$arch.changes" "kalvo_${version}_$arch.deb" "kalvo-dbgsym_${version}_$arch.deb"; do
  [ -f "$build/package/$f" ] || fail "scripts/package made no $f: $(ls "$build/package")"
done
[ ! -e "$build/package/kalvo-$version" ] || fail "the copy of the source tree was left in $build/package"
# What dpkg-buildpackage leaves in the tree it builds stays in the copy.
for f in "$src"/debian/files "$src"/debian/kalvo "$src"/debian/.debhelper "$src"/debian/debhelper-build-stamp \
         "$src"/debian/*.substvars "$src"/obj-*; do
  [ ! -e "$f" ] || fail "the build left $f in the work tree"
done
grep -q 'dh_auto_test' "$build/package/build.log" || fail "the build ran no dh_auto_test"
grep -q 'tests passed, 0 tests failed' "$build/package/build.log" || fail "the build-time tests did not pass"

start=$(date +%s)
(umask 0002; DEB_BUILD_OPTIONS=nocheck TZ=Asia/Tokyo LC_ALL=C.UTF-8 \
  bash "$src/scripts/package" "$build/package-again") >"$here/again.log" 2>&1 \
  || { cat "$here/again.log"; fail "the second scripts/package failed"; }
second=$(($(date +%s) - start))
grep -q 'tests passed' "$build/package-again/build.log" && fail "nocheck still ran the build-time tests"
for f in "kalvo_${version}_$arch.deb" "kalvo-dbgsym_${version}_$arch.deb" "kalvo_$version.dsc" "kalvo_$version.tar.xz"; do
  cmp "$build/package/$f" "$build/package-again/$f" || fail "$f differs between two builds"
done
echo "two builds (${first} s with the core's tests, ${second} s without) gave byte-identical .debs and source packages"
rm -rf "$build/package-again"

# ---- lintian and the hardening ---------------------------------------------------
LC_ALL=C.UTF-8 lintian --pedantic --info "$build/package/kalvo_${version}_$arch.changes" >"$here/lintian" 2>&1 || true
grep -q '^[EW]: ' "$here/lintian" && fail "lintian: $(cat "$here/lintian")"
grep '^[IPX]: ' "$here/lintian" || echo "lintian --pedantic: no tags"

# ---- the list -------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' > "$here/list"
grep -v '^/usr/' "$here/list" | grep -vx '/' > "$here/outside" || true
[ ! -s "$here/outside" ] || fail "paths outside /usr: $(cat "$here/outside")"
expected=(/usr/bin/kalvo /usr/bin/kalvo-date /usr/share/kalvo/KalvoN.dat /usr/share/kalvo/KalvoS.dat /usr/share/doc/kalvo/changelog.gz
  "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml"
  /usr/share/man/man1/kalvo.1.gz /usr/share/man/man1/kalvo-date.1.gz /usr/share/man/ja/man1/kalvo.1.gz
  /usr/share/man/ja/man1/kalvo-date.1.gz /usr/share/bash-completion/completions/kalvo-date /usr/share/doc/kalvo/copyright
  "/usr/share/icons/hicolor/scalable/apps/$id.svg")
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do grep -qx "$f" "$here/list" || fail "the package lacks $f"; done
dpkg-deb -c "$deb" > "$here/listing"
for program in kalvo kalvo-date; do
  grep -q "^-rwxr-xr-x root/root .* \./usr/bin/$program\$" "$here/listing" || fail "/usr/bin/$program is not an executable of root"
done

# ---- the control fields -----------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kalvo ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), project $version"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
field Maintainer | grep -q '^[^<]\+ <[^@>]\+@[^>]\+>$' || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -ge 4 ] || fail "no long description"
field Description | grep -q '和暦' || fail "the description does not name the Japanese calendar"
relation() { field "$1" | tr ',' '\n' | sed 's/^ *//; s/ *([^)]*)//g; s/ *$//' | grep -v '^$'; }
depends=$(relation Depends)
for p in 'fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk' libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  grep -qxF "$p" <<<"$depends" || fail "Depends lacks $p: $(field Depends)"
done
# Not needed to run: the X11 platform plugin and the input method plugins are in libqt6gui6.
for p in qt6-qpa-plugins qt6-translations-l10n fonts-liberation; do
  grep -qw "$p" <<<"$depends" && fail "Depends holds $p: $(field Depends)"
done
[ "$(relation Recommends | sort | tr '\n' ';')" = "fcitx5-frontend-qt6 | ibus;fonts-liberation;qt6-translations-l10n;" ] \
  || fail "Recommends: $(field Recommends)"

# ---- the debug symbols ---------------------------------------------------------------
[ "$(dpkg-deb -f "$dbgsym" Package)" = kalvo-dbgsym ] || fail "dbgsym package: $(dpkg-deb -f "$dbgsym" Package)"
# ---- the files as shipped -----------------------------------------------------------
mkdir "$here/root"
dpkg-deb -x "$deb" "$here/root"
out=$(desktop-file-validate "$here/root/usr/share/applications/$id.desktop" 2>&1) || fail "desktop file: $out"
[ -z "$out" ] || fail "desktop file: $out"
appstreamcli validate --no-net "$here/root/usr/share/metainfo/$id.metainfo.xml" >"$here/as.log" 2>&1 \
  || fail "metainfo: $(cat "$here/as.log")"
grep -q "<release version=\"$version\"" "$here/root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo release is not $version"
for page in man1/kalvo.1.gz man1/kalvo-date.1.gz ja/man1/kalvo.1.gz ja/man1/kalvo-date.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$here/root/usr/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done
# kalvo-date runs from the package as it is, and needs no library of the window.
out=$("$here/root/usr/bin/kalvo-date" --tsv 2026-12-08) || fail "kalvo-date from the package failed"
[ "$(cut -f5,6 <<<"$out")" = "$(printf '2026/10/30\t先負')" ] || fail "kalvo-date from the package: $out"
readelf -d "$here/root/usr/bin/kalvo-date" | grep -q 'libQt6' && fail "kalvo-date links Qt"
file -b "$here/root/usr/bin/kalvo" | grep -q 'ELF.*stripped' || fail "binary: $(file -b "$here/root/usr/bin/kalvo")"
file -b "$here/root/usr/bin/kalvo" | grep -q 'not stripped' && fail "the binary is not stripped"
build_id=$(readelf -n "$here/root/usr/bin/kalvo" | sed -n 's/^ *Build ID: //p')
[ -n "$build_id" ] || fail "the binary has no build id"
dpkg-deb -c "$dbgsym" > "$here/dbgsym.list"
grep -q "/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}\.debug$" "$here/dbgsym.list" \
  || fail "the dbgsym package has no symbols for build id $build_id"
head -n 1 "$here/root/usr/share/doc/kalvo/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
  || fail "the copyright file is not machine-readable"
[ -f "$here/root/usr/share/doc/kalvo/changelog.gz" ] || fail "no changelog in /usr/share/doc/kalvo"
# It exits 1 over the checks that Debian 12's dpkg-buildflags has no flags for (stack clash
# protection, control flow integrity); the five it can have are read from its report.
for program in kalvo kalvo-date; do
  hardening=$(hardening-check "$here/root/usr/bin/$program" || true)
  for feature in 'Position Independent Executable' 'Stack protected' 'Fortify Source functions' \
                 'Read-only relocations' 'Immediate binding'; do
    grep -q "^ $feature: yes" <<<"$hardening" || fail "hardening-check $program: $hardening"
  done
done

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

# The autopkgtest starts the desktop entry's command through the PATH, as the menu does.
bash "$src/debian/tests/start-and-quit" || fail "the autopkgtest failed on the installed package"

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
