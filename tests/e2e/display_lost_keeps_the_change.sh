#!/usr/bin/env bash
# The X server goes away under the real program (the session crashes, a remote display
# drops). With a tick not yet saved, the program saves it before it exits, without a
# box, exits with status 1 and says on stderr where the change went; with the end
# question open at that moment the same. With nothing to save it says so, status 1.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
# Each case has an X server of its own, which it kills.
kalvo_under_own_x "$@"
kalvo=$1
here=$KALVO_TMP
stderr=$here/stderr.txt

# A folder with an event file, an X server, the program in both.
start() {
  mkdir "$here/$1"
  cd "$here/$1"
  kalvo_event_file >kalvoe.dat
  kalvo_x_start
  kalvo_open "$kalvo" 2>"$stderr"
  pid=$KALVO_PID wid=$KALVO_WID
}
# The X server dies; the program must end by itself, with status 1.
kill_x() {
  kalvo_x_kill
  kalvo_expect_exit 1 "$pid" 10
}
said() { grep -q "^kalvo: .*$1" "$stderr" || { cat "$stderr"; kalvo_fail "$2"; }; }

KALVO_CASE="an unsaved tick"
start a
kalvo_tick "$wid"
sleep 0.5
kill_x
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was lost"
said "変更を $here/a/kalvoe.dat に保存して終了します" "stderr does not say where the change went"

KALVO_CASE="the end question open"
start b
kalvo_tick "$wid"
kalvo_ask_end "$pid" "$wid"
kill_x
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was lost"

KALVO_CASE="nothing to save"
start c
before=$(md5sum <kalvoe.dat)
kill_x
[ "$(md5sum <kalvoe.dat)" = "$before" ] || kalvo_fail "the file was written"
said 保存していない変更はありません "no line on stderr"
echo ok
