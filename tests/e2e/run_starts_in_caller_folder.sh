#!/usr/bin/env bash
# scripts/run, called from a folder outside the checkout, builds in the checkout and starts the
# program in the caller's folder, as an installed program starts in the folder it is called
# from: the event file kalvoe.dat is written there, and none appears in the checkout.
set -euo pipefail
src=$2
build=$3
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
mkdir "$here/caller"
had_own=0
[ -e "$src/kalvoe.dat" ] && had_own=1

cat > "$here/probe.sh" <<'INNER'
set -u
KALVO_BUILD_DIR=$2 bash "$1/scripts/run" >"$3/run.log" 2>&1 &
pid=$!
wid=$(timeout 120 xdotool search --sync --name '^Kalvo ' | head -n 1)
if [ -z "$wid" ]; then echo "window did not appear"; cat "$3/run.log"; kill $pid 2>/dev/null; exit 1; fi
# scripts/run ends in exec, so the process started is the program; SIGTERM ends it with a save.
kill -TERM $pid
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "still running after SIGTERM"; kill -KILL $pid; exit 1; fi
wait $pid
INNER
cd "$here/caller"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/probe.sh" "$src" "$build" "$here" \
  || { echo "FAIL: scripts/run"; exit 1; }
if [ $had_own -eq 0 ] && [ -e "$src/kalvoe.dat" ]; then
  rm -f "$src/kalvoe.dat"
  echo "FAIL: kalvoe.dat was written into the checkout"
  exit 1
fi
[ -f "$here/caller/kalvoe.dat" ] || { echo "FAIL: no kalvoe.dat in the caller's folder: $(ls -A "$here/caller")"; exit 1; }
echo ok
