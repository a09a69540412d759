#!/usr/bin/env bash
# SIGTERM ends the real program like its close box: the unload step writes the event
# file (the first start creates it), exactly once, and the process exits with status 0.
set -euo pipefail
kalvo=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
cd "$here"

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
strace -f -qq -e trace=rename,renameat,renameat2,link,linkat -o trace.txt "$kalvo" &
tracer=$!
wid=$(timeout 20 xdotool search --sync --name '^Kalvo ' | head -n 1)
[ -n "$wid" ] || { echo "window did not appear"; kill $tracer; exit 1; }
pid=$(pgrep -n -x kalvo || true)
[ -n "$pid" ] || { echo "no kalvo process"; kill $tracer; exit 1; }
[ ! -e kalvoe.dat ] || { echo "event file written before the end"; exit 1; }
kill -TERM "$pid"
wait $tracer
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
[ -f kalvoe.dat ] || { echo "event file not written"; exit 1; }
writes=$(grep -c 'kalvoe\.dat"' trace.txt || true)
[ "$writes" -eq 1 ] || { echo "event file written $writes times"; cat trace.txt; exit 1; }
sed -n 2p kalvoe.dat | grep -q '^Ver\.2\.16' || { echo "unexpected content"; od -c kalvoe.dat | head; exit 1; }
echo ok
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo"
