#!/usr/bin/env bash
# The desktop entry and the software-centre data pass Debian's validators without a word, share
# one id with the icons, and the icons and the screenshot are the sizes they claim.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
id=io.github.kalvo.kalvo
desktop=$src/data/$id.desktop
metainfo=$build/$id.metainfo.xml
[ -f "$metainfo" ] || fail "$metainfo was not configured"

out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx 'Exec=kalvo' "$desktop" || fail "the desktop entry does not start kalvo"

# --pedantic too: a clean file leaves nothing but the success line.
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli: $out"
[ "$(grep -cv '^ *$' <<<"$out")" -eq 1 ] && grep -q 'Validation was successful\.$' <<<"$out" \
  || fail "appstreamcli: $out"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable"
grep -q '<name xml:lang="ja">' "$metainfo" && grep -q '<summary xml:lang="ja">' "$metainfo" \
  || fail "no Japanese name and summary"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no content rating"

png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
[ -f "$src/data/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  icon=$src/data/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
done
shot=$(png_size "$src/data/screenshot.png")
stated=$(sed -n 's/.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*screenshot\.png<.*/\1x\2/p' "$metainfo")
[ -n "$shot" ] && [ "$shot" = "$stated" ] || fail "screenshot is $shot, the metainfo says $stated"
echo ok
