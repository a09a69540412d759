#!/usr/bin/env bash
# Two real Kalvo windows on one folder, each with an entry of its own, ended together by
# SIGTERM as a logout ends them. The fault library stops the first save right before
# its rename (its look at the file done) and lets the second run meanwhile; both
# entries must be in the file at the end (the second waits its turn and merges).
set -euo pipefail
kalvo=$1
build=$3
shim=$build/tests/libkalvo_fault_shim.so
[ -f "$shim" ] || { echo "no fault library at $shim"; exit 1; }
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
mkdir "$here/work"
cd "$here/work"
printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" > kalvoe.dat

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
shim=$2
trace=$3
pids=()
fail() { echo "$*"; for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; exit 1; }
# One window that adds the entry $1 through its edit field and 追加.
start() {
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent LD_PRELOAD="$shim" KALVO_FAULT=rename=STOP@1 \
    KALVO_FAULT_TRACE="$trace" "$kalvo" &
  local pid=$!
  pids+=("$pid")
  local wid
  wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
  [ -n "$wid" ] || fail "window did not appear"
  sleep 0.5
  xdotool mousemove --window "$wid" 250 156 click 1   # the edit field of 何の日？
  xdotool key ctrl+a
  xdotool type "$1"
  xdotool mousemove --window "$wid" 186 181 click 1   # 追加
  sleep 0.3
}
state() { awk '{print $3}' "/proc/$1/stat" 2>/dev/null; }
start 'first@2020/1/1'
start 'second@2021/2/2'
first=${pids[0]}
second=${pids[1]}
kill -TERM "$first" "$second"
# Each save ends stopped at its rename, or (the second, while the first holds the turn)
# waiting for the lock. The first to stop is let go only once the other is waiting or
# stopped too.
for _ in $(seq 1 200); do
  a=$(state "$first"); b=$(state "$second")
  if [ "$a" = T ] || [ "$b" = T ]; then break; fi
  sleep 0.05
done
if [ "$(state "$first")" = T ]; then held=$first; other=$second; else held=$second; other=$first; fi
[ "$(state "$held")" = T ] || fail "no save reached its rename"
for _ in $(seq 1 400); do
  [ "$(state "$other")" = T ] && break
  grep -q "^$other flock busy" "$trace" && break
  sleep 0.05
done
# Let both run to their ends, continuing whichever stops.
for _ in $(seq 1 400); do
  alive=0
  for p in "$first" "$second"; do
    if kill -0 "$p" 2>/dev/null; then
      alive=1
      [ "$(state "$p")" = T ] && kill -CONT "$p"
    fi
  done
  [ $alive -eq 0 ] && break
  sleep 0.05
done
for p in "$first" "$second"; do
  kill -0 "$p" 2>/dev/null && fail "a window did not end"
  wait "$p" || fail "a window ended with status $?"
done
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo" "$shim" "$here/trace"
grep -q '^first@2020/1/1' kalvoe.dat || { echo "the first window's entry was lost"; cat kalvoe.dat; exit 1; }
grep -q '^second@2021/2/2' kalvoe.dat || { echo "the second window's entry was lost"; cat kalvoe.dat; exit 1; }
grep -q '^a@2003/9/14' kalvoe.dat || { echo "the old entry was lost"; exit 1; }
echo ok
