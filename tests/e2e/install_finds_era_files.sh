#!/usr/bin/env bash
# An install into a fresh prefix: the binary, started from another folder with the
# Northern Court table chosen in its event file, finds its era files (no file error box),
# and the desktop entry and icons are in place. The same run with the era files taken
# away shows the file error, so the check can tell the two apart.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
src=$2
build=$3
here=$KALVO_TMP
prefix="$here/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

id=io.github.kalvo.kalvo
for f in bin/kalvo share/kalvo/KalvoN.dat share/kalvo/KalvoS.dat share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml share/man/man1/kalvo.1.gz \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/32x32/apps/$id.png; do
  [ -f "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
grep -q '^Categories=Office;Calendar;$' "$prefix/share/applications/$id.desktop"
grep -q '^Icon='"$id"'$' "$prefix/share/applications/$id.desktop"
grep -q '^Name\[ja\]=' "$prefix/share/applications/$id.desktop"

mkdir "$here/elsewhere"
cd "$here/elsewhere"
# The Northern Court table (last value of line 3 is 0).
printf '\r\nVer.2.16\r\n1440,885,0,0\r\n 0 \r\nTODAY\r\n0\r\n\x27 comment\r\n2003/9/14\r\n' > kalvoe.dat

# Prints "error" when a file error box appears, "clean" when the window comes up without one.
error_box() { [[ $(kalvo_boxes "$1") == *$'\t'ファイルエラー* ]]; }
probe() {
  local pid result="no window within 30 s" status=0 until=$((SECONDS + 30))
  kalvo_start "$1" 2>"$here/stderr.txt"
  pid=$KALVO_PID
  while [ $SECONDS -lt $until ]; do
    if error_box "$pid"; then result=error; break; fi
    if xdotool search --all --onlyvisible --pid "$pid" --name '^Kalvo ' >/dev/null 2>&1; then
      sleep 1
      if error_box "$pid"; then result=error; else result=clean; fi
      break
    fi
    if ! _kalvo_running "$pid"; then
      wait "$pid" || status=$?
      echo "no window: the program ended with status $status: $(cat "$here/stderr.txt")"
      return
    fi
    sleep 0.1
  done
  # Only what it showed counts here; a box left open would hold up any gentler end.
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$result"
}
result=$(probe "$prefix/bin/kalvo")
[ "$result" = clean ] || { echo "installed program: $result"; exit 1; }

rm "$prefix/share/kalvo/KalvoN.dat"
result=$(probe "$prefix/bin/kalvo")
[ "$result" = error ] || { echo "without its era file the program did not complain: $result"; exit 1; }
echo ok
