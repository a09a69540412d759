#!/usr/bin/env bash
# A logout (SIGTERM) reaches the real program while one of its boxes is open: the end
# question, the 設定ファイルの変更 box, the question about the home folder, an error box.
# Each time the box closes and the end goes on unattended, once: the tick made before
# is saved (merged with what an editor added, or kept in the home folder when the
# working folder went away), the process exits with status 0, and the event file is
# renamed into place exactly once (counted by the fault library's trace, which fails
# nothing here).
set -euo pipefail
kalvo=$1
build=$3
shim=$build/tests/libkalvo_fault_shim.so
[ -f "$shim" ] || { echo "no fault library at $shim"; exit 1; }
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
shim=$2
here=$3
fail() { echo "$case: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
# ' 自分の設定 / Ver.2.16 / window line / flags / TODAY / 0 / ' コメント / one entry
event_file() {
  printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n"
}
# Starts the program in the current folder, only this one process, with no session bus.
start() {
  : > "$here/trace.txt"
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent HOME="$here/home" XDG_STATE_HOME="$here/state" \
    LD_PRELOAD="$shim" KALVO_FAULT_TRACE="$here/trace.txt" "$kalvo" 2> "$here/stderr.txt" &
  pid=$!
  wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
  [ -n "$wid" ] || fail "window did not appear"
  sleep 0.5
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
# Waits for the box of that title and gives it the keyboard.
box() {
  local b
  b=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name "^$1\$" | head -n 1)
  [ -n "$b" ] || fail "no box '$1'"
  sleep 0.5
}
# SIGTERM to the program while the box is open; it must end by itself, with status 0.
end_by_signal() {
  kill -TERM "$pid"
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after SIGTERM with the box open"
  wait "$pid"
  local status=$?
  pid=
  [ $status -eq 0 ] || fail "exit status $status"
}
renames() { grep -c "^[0-9]* rename ok" "$here/trace.txt" || true; }

mkdir -p "$here/home" "$here/state"

case="the end question"
mkdir -p "$here/a" && cd "$here/a" && event_file > kalvoe.dat
start
click 30 125          # 起算日含む
click 28 155          # 終了: "変更を保存しますか？"
box 終了
end_by_signal
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was not saved"
[ "$(renames)" -eq 1 ] || fail "saved $(renames) times"

case="the changed-file box"
mkdir -p "$here/b" && cd "$here/b" && event_file > kalvoe.dat
start
printf 'editor@2025/5/5\r\n' >> kalvoe.dat
click 30 125
click 28 155
box 終了
xdotool key Return    # はい: save
box 設定ファイルの変更
end_by_signal
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was not saved"
grep -q '^editor@2025/5/5' kalvoe.dat || fail "the editor's entry was lost"
[ "$(renames)" -eq 1 ] || fail "saved $(renames) times"

case="the home folder question"
mkdir -p "$here/c" && cd "$here/c" && event_file > kalvoe.dat
start
click 30 125
mv "$here/c" "$here/c.moved"
click 28 155
box 終了
xdotool key Return
box エラー
end_by_signal
[ -f "$here/home/kalvoe.dat" ] || fail "no copy in the home folder"
sed -n 4p "$here/home/kalvoe.dat" | grep -q '^ 1 ' || fail "the copy lacks the tick"
grep -q "$here/home/kalvoe.dat" "$here/stderr.txt" || fail "stderr does not say where the copy went"
[ "$(renames)" -eq 1 ] || fail "saved $(renames) times"

case="an error box"
mkdir -p "$here/d" && cd "$here/d" && event_file > kalvoe.dat
start
click 30 125
click 250 156         # the edit field of 何の日？
xdotool key ctrl+a
xdotool type 'abc'
click 436 181         # 上段に設定: "日付ではありません"
box 入力エラー
end_by_signal
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was not saved"
[ "$(renames)" -eq 1 ] || fail "saved $(renames) times"
echo ok
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo" "$shim" "$here"
