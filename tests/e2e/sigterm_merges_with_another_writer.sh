#!/usr/bin/env bash
# A text editor adds an entry to kalvoe.dat while the real program runs; the user ticks
# a box; then the session ends with SIGTERM. Nobody is there to answer a question, so
# the save merges: the hand-written entry (with its own bytes) and the tick both remain.
set -euo pipefail
kalvo=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
cd "$here"
# ' 自分の設定 / Ver.2.16 / window line / flags / TODAY / 0 / ' コメント / one entry
printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" > kalvoe.dat

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
"$kalvo" &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Kalvo ' | head -n 1)
[ -n "$wid" ] || { echo "window did not appear"; kill $pid; exit 1; }
sleep 0.5
# ≒手書き@2025/5/5, with NEC's bytes for ≒, as an editor keeps them
printf '\x87\x90\x8e\xe8\x8f\x91\x82\xab@2025/5/5\r\n' >> kalvoe.dat
xdotool mousemove --window "$wid" 30 125 click 1   # the box 起算日含む
sleep 0.5
kill -TERM $pid
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "still running after SIGTERM (a question left open?)"; kill -9 $pid; exit 1; fi
wait $pid
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
sed -n 4p kalvoe.dat | grep -q '^ 1 ' || { echo "the tick was lost"; od -c kalvoe.dat | head -20; exit 1; }
grep -q '^a@2003/9/14' kalvoe.dat || { echo "the old entry was lost"; exit 1; }
grep -q $'\x87\x90\x8e\xe8\x8f\x91\x82\xab@2025/5/5\r$' kalvoe.dat || { echo "the hand-written entry was lost or changed"; od -c kalvoe.dat; exit 1; }
echo ok
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo"
