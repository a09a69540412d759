#!/usr/bin/env bash
# The real program in folders whose names are Shift-JIS bytes (日付, 和暦), as folders
# unpacked from old archives are: it runs from such a folder and keeps its kalvoe.dat
# there (read at start, written at the end), and it reads the era file of the northern
# court from its own folder, itself named so. No box may come up at start.
set -euo pipefail
kalvo=$1
build=$3
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
work="$here/"$'\x93\xfa\x95\x74'      # 日付
program="$here/"$'\x98\x61\x97\xef'   # 和暦
mkdir "$work" "$program"
cp "$kalvo" "$program/kalvo"
cp "$build/KalvoN.dat" "$build/KalvoS.dat" "$program/"
cd "$work"
# Era table 0 (the northern court's file) on line 3, one entry.
printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,0\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" > kalvoe.dat

cat > "$here/run.sh" <<'INNER'
set -u
program=$1
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$program/kalvo" &
pid=$!
fail() { echo "$*"; kill -9 "$pid" 2>/dev/null; exit 1; }
# A box at start (the file not found, the era file missing) comes before the window.
wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
[ -n "$wid" ] || fail "the window did not appear (a box at start?)"
for w in $(xdotool search --all --onlyvisible --pid "$pid" --name '' || true); do
  [ "$w" = "$wid" ] && continue
  name=$(xdotool getwindowname "$w")
  [ -n "$name" ] && fail "a box came up: $name"
done
sleep 0.5
xdotool mousemove --window "$wid" 30 125 click 1   # 起算日含む
sleep 0.5
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after SIGTERM"
wait "$pid"
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$program"
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || { echo "the tick was not saved in the folder"; od -c kalvoe.dat | head; exit 1; }
sed -n 3p kalvoe.dat | grep -q ',0\s*$' || { echo "the era table changed"; exit 1; }
grep -q '^a@2003/9/14' kalvoe.dat || { echo "the entry was lost"; exit 1; }
echo ok
