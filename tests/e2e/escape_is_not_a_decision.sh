#!/usr/bin/env bash
# Escape, or the close button of the box's title bar, on the 設定ファイルの変更 box and
# on the question about the home folder of the real program: the box goes, the window
# stays, nothing is written. Only a button decides; here はい then saves.
set -euo pipefail
kalvo=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT

# The close button reaches a window as WM_DELETE_WINDOW from the window manager; there
# is none under Xvfb, so this small client sends that request itself.
cat > "$here/close_request.c" <<'C'
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char** argv) {
    if (argc != 2) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) { fprintf(stderr, "no display\n"); return 1; }
    Window w = (Window)strtoul(argv[1], NULL, 0);
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
C
cc -o "$here/close_request" "$here/close_request.c" -lX11

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
here=$2
fail() { echo "$case${step:+, $step}: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }
event_file() {
  printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n"
}
start() {
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent HOME="$here/home" XDG_STATE_HOME="$here/state" "$kalvo" &
  pid=$!
  wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
  [ -n "$wid" ] || fail "window did not appear"
  sleep 0.5
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
box() {
  boxid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name "^$1\$" | head -n 1)
  [ -n "$boxid" ] || fail "no box '$1'"
  sleep 0.5
}
# The box goes away and the program goes on.
box_gone_window_stays() {
  for _ in $(seq 1 200); do xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" >/dev/null || break; sleep 0.1; done
  xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" >/dev/null && fail "the box is still open"
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  xdotool search --all --onlyvisible --pid "$pid" --name '^Kalvo ' >/dev/null || fail "the window is gone"
}
# End button, はい to the end question, then the box of the save.
end_to() {
  click 28 155
  box 終了
  xdotool key Return
  box "$1"
}
wait_end() {
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running"
  wait "$pid"
  local status=$?
  pid=
  [ $status -eq 0 ] || fail "exit status $status"
}
mkdir -p "$here/home" "$here/state"

case="the changed-file box"
mkdir -p "$here/a" && cd "$here/a" && event_file > kalvoe.dat
start
printf 'editor@2025/5/5\r\n' >> kalvoe.dat
before=$(md5sum < kalvoe.dat)
click 30 125          # 起算日含む
end_to 設定ファイルの変更
step=Escape
xdotool key Escape
box_gone_window_stays 設定ファイルの変更
[ "$(md5sum < kalvoe.dat)" = "$before" ] || fail "Escape wrote the file"
end_to 設定ファイルの変更
step="the close button"
"$here/close_request" "$boxid"
box_gone_window_stays 設定ファイルの変更
[ "$(md5sum < kalvoe.dat)" = "$before" ] || fail "the close button wrote the file"
end_to 設定ファイルの変更
xdotool key Return    # はい: both changes together
wait_end
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || fail "the tick was not saved"
grep -q '^editor@2025/5/5' kalvoe.dat || fail "the editor's entry was lost"

case="the home folder question"
mkdir -p "$here/b" && cd "$here/b" && event_file > kalvoe.dat
start
click 30 125
mv "$here/b" "$here/b.moved"
end_to エラー
step=Escape
xdotool key Escape
box_gone_window_stays エラー
[ -e "$here/home/kalvoe.dat" ] && fail "Escape made a copy"
end_to エラー
step="the close button"
"$here/close_request" "$boxid"
box_gone_window_stays エラー
[ -e "$here/home/kalvoe.dat" ] && fail "the close button made a copy"
end_to エラー
xdotool key Return    # はい: into the home folder
box 保存              # where it went
xdotool key Return
wait_end
sed -n 4p "$here/home/kalvoe.dat" | grep -q '^ 1 ' || fail "the copy lacks the tick"
echo ok
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo" "$here"
