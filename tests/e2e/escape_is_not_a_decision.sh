#!/usr/bin/env bash
# Escape, or the close button of the box's title bar, on the 設定ファイルの変更 box and
# on the question about the home folder of the real program: the box goes, the window
# stays, nothing is written. Only a button decides; here はい then saves.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
here=$KALVO_TMP

start() {
  mkdir "$here/$1"
  cd "$here/$1"
  kalvo_event_file >kalvoe.dat
  kalvo_open "$kalvo"
  pid=$KALVO_PID wid=$KALVO_WID
}
# Succeeds while a window of the program titled $1 is up.
showing() { xdotool search --all --onlyvisible --pid "$pid" --name "$1" >/dev/null 2>&1; }
# The box goes away and the program goes on.
box_gone_window_stays() {
  local i
  for ((i = 0; i < 200; i++)); do
    showing "^$1\$" || break
    sleep 0.1
  done
  ! showing "^$1\$" || kalvo_fail "the box is still open"
  _kalvo_running "$pid" || kalvo_fail "the program ended"
  showing '^Kalvo ' || kalvo_fail "the window is gone"
}
# End button, はい to the end question, then the box of the save.
end_to() {
  kalvo_ask_end "$pid" "$wid"
  kalvo_key "$KALVO_BOX" Return
  kalvo_box "$pid" "$1"
}
# Escape, then the close button, on the box titled $1: each time the box goes, the
# window stays, and the check $2 (that nothing was written) holds; $3 says what went wrong.
neither_decides() {
  local box=$1 unchanged=$2 wrong=$3 case=$KALVO_CASE
  end_to "$box"
  KALVO_CASE="$case, Escape"
  kalvo_key "$KALVO_BOX" Escape
  box_gone_window_stays "$box"
  $unchanged || kalvo_fail "Escape $wrong"
  end_to "$box"
  KALVO_CASE="$case, the close button"
  kalvo_close_box "$KALVO_BOX"
  box_gone_window_stays "$box"
  $unchanged || kalvo_fail "the close button $wrong"
  KALVO_CASE=$case
}

KALVO_CASE="the changed-file box"
start a
printf 'editor@2025/5/5\r\n' >>kalvoe.dat
before=$(md5sum <kalvoe.dat)
file_as_before() { [ "$(md5sum <kalvoe.dat)" = "$before" ]; }
kalvo_tick "$wid"
neither_decides 設定ファイルの変更 file_as_before "wrote the file"
end_to 設定ファイルの変更
kalvo_key "$KALVO_BOX" Return   # はい: both changes together
kalvo_expect_exit 0 "$pid" 10
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was not saved"
grep -q '^editor@2025/5/5' kalvoe.dat || kalvo_fail "the editor's entry was lost"

KALVO_CASE="the home folder question"
start b
kalvo_tick "$wid"
mv "$here/b" "$here/b.moved"
no_copy() { [ ! -e "$HOME/kalvoe.dat" ]; }
neither_decides エラー no_copy "made a copy"
end_to エラー
kalvo_key "$KALVO_BOX" Return   # はい: into the home folder
kalvo_box "$pid" 保存           # where it went
kalvo_key "$KALVO_BOX" Return
kalvo_expect_exit 0 "$pid" 10
kalvo_ticked "$HOME/kalvoe.dat" || kalvo_fail "the copy lacks the tick"
echo ok
