#!/usr/bin/env bash
# The real binary under Xvfb with the accessibility bus running, read over AT-SPI as a
# screen reader reads it: every value label tells its value, the era combos carry their
# own names, the event list is labelled by its caption, the clickable labels and the
# moon picture can be pressed, the picture takes the focus, and a press on "日 +" moves
# the day, which the day label's name then says.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
# The accessibility bus is found through the session bus, so this test has a bus of its own.
kalvo_under_x_with_bus "$@"
kalvo=$(realpath "$1")
source_dir=$(realpath "$2")
here=$KALVO_TMP
script=$source_dir/tests/e2e/atspi_tree.py
mkdir "$here/work"
cd "$here/work"

kalvo_start /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1
bus=$KALVO_PID
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 kalvo_start "$kalvo" >/dev/null 2>&1
pid=$KALVO_PID
kalvo_window "$pid" >/dev/null || { echo "window did not appear"; exit 1; }
read_tree() {  # OUTPUT [press NAME]
  local out=$1
  shift
  timeout 60 /usr/bin/python3 "$script" Kalvo "$@" >"$out" 2>>"$here/err.txt" \
    || { echo "reading the tree failed"; cat "$here/err.txt"; exit 1; }
}
read_tree "$here/before.txt"
read_tree /dev/null press "上段 日付パネル"
read_tree "$here/after.txt" press "日 +"
kalvo_end "$pid" 10 || true
kalvo_end "$bus" 10 || true

fail=0
need() {  # a line of the tree that must be there (a pattern of grep -E)
  if ! grep -Eq -- "$2" "$here/$1"; then echo "missing in $1: $2"; fail=1; fi
}
# Values: the name carries the value, and the text interface gives it.
for label in "上段 西暦年" "下段 西暦年" "上段 月" "下段 月" "上段 日" "下段 日" "上段 年号の年" "下段 年号の年" \
             "日数" "年数" "月数" "端数の日数"; do
  need before.txt "^2\|label\|$label ([0-9]+|元)\|([0-9]+|元)\|"
done
need before.txt '^2\|label\|上段 曜日 [日月火水木金土]\|[日月火水木金土]\|'
# Combos under their own names; the edit field inside shows the era.
need before.txt '^2\|combo box\|上段 年号\|-\|ShowMenu,Press\|focusable\|$'
need before.txt '^2\|combo box\|下段 年号\|-\|ShowMenu,Press\|focusable\|$'
need before.txt '^2\|combo box\|何の日？\|-\|ShowMenu,Press\|focusable\|何の日？$'
need before.txt '^3\|text\|\|(令和|平成|昭和)\|'
# Press actions on the labels that take clicks, and on the moon picture.
need before.txt '^2\|label\|上段 日付パネル\|\|Press\|'
need before.txt '^2\|label\|下段 日付パネル\|\|Press\|'
need before.txt '^2\|label\|窓の大きさ切替\|\|Press\|'
need before.txt '^2\|label\|日数=\|日数=\|Press\|'
need before.txt '^2\|image\|月相\|-\|Press,SetFocus\|focusable\|'
# The day after a press on "日 +" in the upper panel.
day=$(grep -Eo '^2\|label\|上段 日 [0-9]+\|' "$here/before.txt" | grep -Eo '[0-9]+\|$' | tr -d '|')
month_end=$(grep -Eo '^2\|label\|上段 日 [0-9]+\|' "$here/after.txt" | grep -Eo '[0-9]+\|$' | tr -d '|')
if [ -z "$day" ] || [ -z "$month_end" ]; then echo "no upper day label"; fail=1;
elif [ "$month_end" != $((day + 1)) ] && [ "$month_end" != 1 ]; then
  echo "upper day was $day, after 日 + it is $month_end"; fail=1; fi
if [ $fail -ne 0 ]; then echo "--- tree:"; cat "$here/before.txt"; exit 1; fi
echo "ok: upper day $day, after 日 + $month_end"
