#!/usr/bin/env bash
# The real binary in a real X server: started in an empty folder, its window appears
# with the program's caption, which names the project's version, asks the window manager
# for no maximize button, carries the icon in each of its sizes, has loaded no image format
# plugin (start-up decodes no picture file), and Alt+Q ends it with exit status 0.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
build=$3
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt"; exit 1; }
cd "$KALVO_TMP"

caption="Kalvo         Ver.$version"
kalvo_start "$kalvo"
pid=$KALVO_PID
wid=$(kalvo_window "$pid" "^${caption//./\\.}\$") || { echo "window did not appear"; exit 1; }
name=$(xdotool getwindowname "$wid")
[ "$name" = "$caption" ] || { echo "caption was '$name'"; exit 1; }
# The window manager's hints: minimize and close, no maximize (the size is fixed).
# _MOTIF_WM_HINTS is flags, functions, decorations: functions 8 minimize, 16 maximize,
# 32 close; decorations 32 minimize, 64 maximize.
hints=$(xprop -id "$wid" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
read -r _ functions decorations _ <<<"$hints"
if [ $((functions & 16)) -ne 0 ] || [ $((decorations & 64)) -ne 0 ] ||
   [ $((functions & 40)) -ne 40 ] || [ $((decorations & 32)) -eq 0 ]; then
  echo "title bar hints were '$hints'"; exit 1
fi
# The icon the window manager shows, in the six sizes of the icon theme.
sizes=$(xprop -len 1000000 -id "$wid" _NET_WM_ICON | sed -n 's/^.*Icon (\([0-9]*\) x [0-9]*):$/\1/p' | sort -n | paste -s -d ' ')
[ "$sizes" = "16 32 48 64 128 256" ] || { echo "window icon sizes were '$sizes'"; exit 1; }
# The window is painted by now: the frame of the options and the icon came from pixels.
plugins=$(grep -c '/imageformats/' "/proc/$pid/maps" || true)
[ "$plugins" -eq 0 ] || { echo "image format plugins loaded at start:"; grep '/imageformats/' "/proc/$pid/maps"; exit 1; }
sleep 0.5
kalvo_key "$wid" alt+q
status=0
kalvo_wait_exit "$pid" 10 || status=$?
[ $status -ne 124 ] || { echo "still running after Alt+Q"; exit 1; }
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
echo "ok"
