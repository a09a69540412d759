#!/usr/bin/env bash
# Instructions the save at the end costs, counted by callgrind: Kalvo starts in DIR under
# callgrind in the caller's X server, a click on the check box at X,Y changes a setting,
# the counters are zeroed and SIGTERM ends it. The count covers everything from the
# signal to the exit (the save, the window's end) and nothing of the start.
#
#   save_instructions.sh DIR PROGRAM X,Y ENTRIES
set -euo pipefail
. "$(dirname "$0")/callgrind_window.sh"
dir=$1 program=$2 at=$3 entries=$4
x=${at%,*} y=${at#*,}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

callgrind_start "$dir" "$program"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$wid")"
before=$(md5sum <"$dir/kalvoe.dat")
xdotool mousemove $((X + x)) $((Y + y)) click 1
sleep 2
callgrind_control --zero "$pid" >/dev/null 2>&1
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || { echo "the program ended with status $status" >&2; exit 1; }
[ "$(md5sum <"$dir/kalvoe.dat")" != "$before" ] || { echo "the program did not save the change" >&2; exit 1; }
out=$(ls "$work"/cg.* | head -1)
awk -v n="$entries" "$awk_grouped"'
  /^(summary|totals):/ {
    printf "save at the end, instructions from SIGTERM to the exit (callgrind, %s entries): %s, %s per entry\n",
           grouped(n), grouped($2), grouped($2 / n)
    exit
  }' "$out"
