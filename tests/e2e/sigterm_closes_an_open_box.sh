#!/usr/bin/env bash
# A logout (SIGTERM) reaches the real program while one of its boxes is open: the end
# question, the 設定ファイルの変更 box, the question about the home folder, an error box.
# Each time the box closes and the end goes on unattended, once: the tick made before
# is saved (merged with what an editor added, or kept in the home folder when the
# working folder went away), the process exits with status 0, and the event file is
# renamed into place exactly once (counted by the fault library's trace, which fails
# nothing here).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
build=$3
shim=$build/tests/libkalvo_fault_shim.so
[ -f "$shim" ] || kalvo_fail "no fault library at $shim"
here=$KALVO_TMP
trace=$here/trace.txt

# Starts the program in the current folder, with the fault library tracing its calls.
start() {
  : >"$trace"
  kalvo_open env LD_PRELOAD="$shim" KALVO_FAULT_TRACE="$trace" "$kalvo" 2>"$here/stderr.txt"
  pid=$KALVO_PID wid=$KALVO_WID
}
# SIGTERM to the program while the box is open; it must end by itself, with status 0,
# having renamed the event file into place once.
end_by_signal() {
  kalvo_expect_end 0 "$pid" 10
  local renames
  renames=$(grep -c "^[0-9]* rename ok" "$trace" || true)
  [ "$renames" -eq 1 ] || kalvo_fail "saved $renames times"
}
in_folder() {
  mkdir "$here/$1"
  cd "$here/$1"
  kalvo_event_file >kalvoe.dat
}

KALVO_CASE="the end question"
in_folder a
start
kalvo_tick "$wid"
kalvo_ask_end "$pid" "$wid"
end_by_signal
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was not saved"

KALVO_CASE="the changed-file box"
in_folder b
start
printf 'editor@2025/5/5\r\n' >>kalvoe.dat
kalvo_tick "$wid"
kalvo_ask_end "$pid" "$wid"
kalvo_key "$KALVO_BOX" Return   # はい: save
kalvo_box "$pid" 設定ファイルの変更
end_by_signal
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was not saved"
grep -q '^editor@2025/5/5' kalvoe.dat || kalvo_fail "the editor's entry was lost"

KALVO_CASE="the home folder question"
in_folder c
start
kalvo_tick "$wid"
mv "$here/c" "$here/c.moved"
kalvo_ask_end "$pid" "$wid"
kalvo_key "$KALVO_BOX" Return
kalvo_box "$pid" エラー
end_by_signal
[ -f "$HOME/kalvoe.dat" ] || kalvo_fail "no copy in the home folder"
kalvo_ticked "$HOME/kalvoe.dat" || kalvo_fail "the copy lacks the tick"
grep -q "$HOME/kalvoe.dat" "$here/stderr.txt" || kalvo_fail "stderr does not say where the copy went"

# The copy is named once more at the next start, as nobody may have read stderr.
KALVO_CASE="the next start names the copy"
ls "$XDG_STATE_HOME"/kalvo/notice-* >/dev/null 2>&1 || kalvo_fail "no note for the next start"
grep -q "$HOME/kalvoe.dat" "$XDG_STATE_HOME"/kalvo/notice-* || kalvo_fail "the note does not name the copy"

KALVO_CASE="an error box"
in_folder d
: >"$trace"
kalvo_start env LD_PRELOAD="$shim" KALVO_FAULT_TRACE="$trace" "$kalvo" 2>"$here/stderr.txt"
pid=$KALVO_PID
kalvo_box "$pid" 保存
kalvo_key "$KALVO_BOX" Return
wid=$(kalvo_window "$pid") || kalvo_fail "window did not appear after the note"
sleep 0.5
! ls "$XDG_STATE_HOME"/kalvo/notice-* >/dev/null 2>&1 || kalvo_fail "the note was shown but kept"
kalvo_tick "$wid"
kalvo_click "$wid" 250 156  # the edit field of 何の日？
kalvo_key "$wid" ctrl+a
kalvo_type "$wid" abc
kalvo_click "$wid" 436 181  # 上段に設定: "日付ではありません"
kalvo_box "$pid" 入力エラー
end_by_signal
kalvo_ticked kalvoe.dat || kalvo_fail "the tick was not saved"
echo ok
