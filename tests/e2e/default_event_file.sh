#!/usr/bin/env bash
# The real binary in a real X server, started in an empty folder: closing the window with
# its close box (the window system's close request) writes the default event file, and
# kalvoe.dat holds exactly the default content in code page 932 with CR LF line ends.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$(realpath "$1")
here=$KALVO_TMP
mkdir "$here/work"
cd "$here/work"

kalvo_start "$kalvo"
pid=$KALVO_PID
wid=$(kalvo_window "$pid") || { echo "window did not appear"; exit 1; }
sleep 0.5
kalvo_close_box "$wid"
status=0
kalvo_wait_exit "$pid" 10 || status=$?
[ $status -ne 124 ] || { echo "still running after the close request"; exit 1; }
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }

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
