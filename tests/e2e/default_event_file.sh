#!/usr/bin/env bash
# The real binary in a real X server, started in an empty folder: closing the window with
# its close box (the window system's close request) writes the default event file, and
# kalvoe.dat holds exactly the default content in code page 932 with CR LF line ends.
set -euo pipefail
kalvo=$(realpath "$1")
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
mkdir "$here/work"

# A close box click reaches the program as WM_DELETE_WINDOW from the window manager.
# There is no window manager under Xvfb, so a small client sends that request itself.
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
close_request=$2
"$kalvo" &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Kalvo ' | head -n 1)
if [ -z "$wid" ]; then echo "window did not appear"; kill $pid; exit 1; fi
sleep 0.5
"$close_request" "$wid"
for _ in $(seq 1 100); do
  if ! kill -0 $pid 2>/dev/null; then break; fi
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then echo "still running after the close request"; kill $pid; exit 1; fi
wait $pid
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
INNER

cd "$here/work"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo" "$here/close_request"

[ -f kalvoe.dat ] || { echo "kalvoe.dat was not written"; exit 1; }
# Line 3 holds the window's place in twips: with no window manager to add a frame the
# window stays where it was created, its client area at top 1440, left 885.
{
  printf "' Kalvo 何の日？ 設定ファイル\r\n"
  printf 'Ver.2.16\r\n'
  printf '1440,885,0,2\r\n'
  printf ' 0 \r\n'
  printf 'TODAY\r\n'
  printf '0\r\n'
  printf "' 以下は形式を守れば 追加・変更しても OK！\r\n"
  printf '  2010年まで     @2010/1/1\r\n'
  printf '  　*今日の日付          @TODAY\r\n'
  printf '機種変更 [DI-VA210]   @2003/9/14\r\n'
  printf '関東大震災       @1923/9/1\r\n'
} | iconv -f UTF-8 -t CP932 > "$here/expected.dat"
if ! cmp kalvoe.dat "$here/expected.dat"; then
  echo "kalvoe.dat differs from the default content:"
  od -c kalvoe.dat | head -40
  exit 1
fi
# The ideographic space of the protected entry is stored as 0x81 0x40.
LC_ALL=C grep -qa $'^  \x81\x40\\*' kalvoe.dat || { echo "no 0x81 0x40 in the protected entry"; exit 1; }
echo "ok"
