#!/usr/bin/env bash
# The real binary under Xvfb with the accessibility bus running, read over AT-SPI as a
# screen reader reads it: every value label tells its value, the era combos carry their
# own names, the event list is labelled by its caption, the clickable labels and the
# moon picture can be pressed, the picture takes the focus, and a press on "日 +" moves
# the day, which the day label's name then says.
set -euo pipefail
kalvo=$(realpath "$1")
source_dir=$(realpath "$2")
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
mkdir "$here/work"

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
script=$2
out=$3
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$kalvo" >/dev/null 2>&1 &
pid=$!
/usr/bin/python3 "$script" Kalvo > "$out/before.txt"
first=$?
/usr/bin/python3 "$script" Kalvo press "上段 日付パネル" > /dev/null
/usr/bin/python3 "$script" Kalvo press "日 +" > "$out/after.txt"
second=$?
kill $pid $bus 2>/dev/null
wait $pid 2>/dev/null
[ $first -eq 0 ] && [ $second -eq 0 ]
INNER

cd "$here/work"
timeout 100 xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- bash "$here/run.sh" "$kalvo" "$source_dir/tests/e2e/atspi_tree.py" "$here" 2>"$here/err.txt" \
  || { echo "reading the tree failed"; cat "$here/err.txt"; exit 1; }

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
