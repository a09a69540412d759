#!/usr/bin/env bash
# The real program in folders whose names are Shift-JIS bytes (日付, 和暦), as folders
# unpacked from old archives are: it runs from such a folder and keeps its kalvoe.dat
# there (read at start, written at the end), and it reads the era file of the northern
# court from its own folder, itself named so. No box may come up at start.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
build=$3
work="$KALVO_TMP/"$'\x93\xfa\x95\x74'      # 日付
program="$KALVO_TMP/"$'\x98\x61\x97\xef'   # 和暦
mkdir "$work" "$program"
cp "$kalvo" "$program/kalvo"
cp "$build/KalvoN.dat" "$build/KalvoS.dat" "$program/"
cd "$work"
kalvo_event_file 0 >kalvoe.dat   # era table 0: the northern court's file

kalvo_open "$program/kalvo"
pid=$KALVO_PID
boxes=$(kalvo_boxes "$pid" | cut -f 2 | paste -s -d ,)
[ -z "$boxes" ] || kalvo_fail "a box came up: $boxes"
kalvo_tick "$KALVO_WID"
sleep 0.5
kalvo_expect_end 0 "$pid" 10
kalvo_ticked kalvoe.dat || { od -c kalvoe.dat | head; kalvo_fail "the tick was not saved in the folder"; }
sed -n 3p kalvoe.dat | grep -q ',0\s*$' || kalvo_fail "the era table changed"
grep -q '^a@2003/9/14' kalvoe.dat || kalvo_fail "the entry was lost"
echo ok
