#!/usr/bin/env bash
# The X server goes away under the real program (the session crashes, a remote display
# drops). With a tick not yet saved, the program saves it before it exits, without a
# box, exits with status 1 and says on stderr where the change went; with the end
# question open at that moment the same. With nothing to save it says so, status 1.
set -euo pipefail
kalvo=$1
here=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill -9 "$xvfb" 2>/dev/null
  rm -rf "$here"
}
trap cleanup EXIT
fail() { echo "$case: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }

# An X server of this test's own, on a display number the server picks itself.
start_x() {
  rm -f "$here/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$here/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 1 100); do [ -s "$here/display" ] && break; sleep 0.1; done
  [ -s "$here/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$here/display")"
}
start() {
  printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" > kalvoe.dat
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent HOME="$here/home" XDG_STATE_HOME="$here/state" \
    "$kalvo" 2> "$here/stderr.txt" &
  pid=$!
  wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
  [ -n "$wid" ] || fail "window did not appear"
  sleep 0.5
}
# The X server dies; the program must end by itself.
kill_x() {
  kill -9 "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  xvfb=
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running without its X server"
  set +e
  wait "$pid"
  status=$?
  set -e
  pid=
}
mkdir -p "$here/home" "$here/state"

case="an unsaved tick"
mkdir "$here/a" && cd "$here/a"
start_x
start
xdotool mousemove --window "$wid" 30 125 click 1   # 起算日含む
sleep 0.5
kill_x
[ "$status" -eq 1 ] || fail "exit status $status"
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was lost"
grep -q "^kalvo: .*変更を $here/a/kalvoe.dat に保存して終了します" "$here/stderr.txt" ||
  { cat "$here/stderr.txt"; fail "stderr does not say where the change went"; }

case="the end question open"
mkdir "$here/b" && cd "$here/b"
start_x
start
xdotool mousemove --window "$wid" 30 125 click 1
xdotool mousemove --window "$wid" 28 155 click 1   # 終了: "変更を保存しますか？"
timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^終了$' >/dev/null || fail "no end question"
kill_x
[ "$status" -eq 1 ] || fail "exit status $status"
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was lost"

case="nothing to save"
mkdir "$here/c" && cd "$here/c"
start_x
start
before=$(md5sum < kalvoe.dat)
kill_x
[ "$status" -eq 1 ] || fail "exit status $status"
[ "$(md5sum < kalvoe.dat)" = "$before" ] || fail "the file was written"
grep -q '^kalvo: .*保存していない変更はありません' "$here/stderr.txt" || { cat "$here/stderr.txt"; fail "no line on stderr"; }
echo ok
