#!/usr/bin/env bash
# A text editor adds an entry to kalvoe.dat while the real program runs; the user ticks
# a box; then the session ends with SIGTERM. Nobody is there to answer a question, so
# the save merges: the hand-written entry (with its own bytes) and the tick both remain.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
cd "$KALVO_TMP"
kalvo_event_file >kalvoe.dat

kalvo_start "$kalvo"
pid=$KALVO_PID
wid=$(kalvo_window "$pid") || { echo "window did not appear"; exit 1; }
sleep 0.5
# ≒手書き@2025/5/5, with NEC's bytes for ≒, as an editor keeps them
printf '\x87\x90\x8e\xe8\x8f\x91\x82\xab@2025/5/5\r\n' >> kalvoe.dat
kalvo_tick "$wid"
sleep 0.5
status=0
kalvo_end "$pid" 10 || status=$?
[ $status -ne 124 ] || { echo "still running after SIGTERM (a question left open?)"; exit 1; }
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
kalvo_ticked kalvoe.dat || { echo "the tick was lost"; od -c kalvoe.dat | head -20; exit 1; }
grep -q '^a@2003/9/14' kalvoe.dat || { echo "the old entry was lost"; exit 1; }
grep -q $'\x87\x90\x8e\xe8\x8f\x91\x82\xab@2025/5/5\r$' kalvoe.dat || { echo "the hand-written entry was lost or changed"; od -c kalvoe.dat; exit 1; }
echo ok
