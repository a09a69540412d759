#!/usr/bin/env bash
# Instructions one click costs, counted by callgrind, so that a change of a few percent
# shows where wall times on a shared machine move by tens of percent. Each program runs
# under callgrind in the X server of the caller; it is clicked WARM times, its counters
# are zeroed, it is clicked CLICKS times and the counters are dumped: the count covers
# everything the program does for the clicks (input, handler, repaints, the flush to
# the X server) and nothing of its start.
#
#   click_instructions.sh CLICKS WARM X,Y SUBJECT PEER     (SUBJECT, PEER: LABEL=DIR=PROGRAM)
set -euo pipefail
. "$(dirname "$0")/callgrind_window.sh"
clicks=$1 warm=$2 at=$3
shift 3
x=${at%,*} y=${at#*,}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# Prints the instructions per click of one program.
count() {
  local i out
  callgrind_start "$1" "$2" || return 1
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove $((X + x)) $((Y + y))
  sleep 1
  # Under callgrind a click takes some 50 times as long: half a second lets it finish.
  for i in $(seq 1 "$warm"); do xdotool click 1; sleep 0.5; done
  callgrind_control --zero "$pid" >/dev/null 2>&1
  for i in $(seq 1 "$clicks"); do xdotool click 1; sleep 0.5; done
  sleep 1
  callgrind_control --dump "$pid" >/dev/null 2>&1
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  out=$(ls "$work"/cg.*.1)
  awk -v n="$clicks" '/^(summary|totals):/ { printf "%d\n", $2 / n; exit }' "$out"
  rm -f "$work"/cg.*
}

labels=() counts=()
for side in "$@"; do
  label=${side%%=*} rest=${side#*=}
  labels+=("$label")
  counts+=("$(count "${rest%%=*}" "${rest#*=}")")
done
awk -v a="${counts[0]}" -v b="${counts[1]}" -v la="${labels[0]}" -v lb="${labels[1]}" -v n="$clicks" -v w="$warm" "$awk_grouped"'
  BEGIN { printf "click, instructions per click (callgrind, %d clicks after %d): %s %s, %s %s, ratio %.2f\n",
          n, w, la, grouped(a), lb, grouped(b), a / b }'
