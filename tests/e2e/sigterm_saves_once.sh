#!/usr/bin/env bash
# SIGTERM ends the real program like its close box: the unload step writes the event
# file (the first start creates it), exactly once, and the process exits with status 0.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
cd "$KALVO_TMP"

# strace follows the program and whatever it starts; the program's own process id comes
# from the shell strace starts, which then becomes the program.
kalvo_start strace -f -qq -e trace=rename,renameat,renameat2,link,linkat -o trace.txt \
  sh -c 'echo $$ > kalvo.pid; exec "$0"' "$kalvo"
tracer=$KALVO_PID
for _ in $(seq 1 100); do [ -s kalvo.pid ] && break; sleep 0.1; done
pid=$(cat kalvo.pid)
kalvo_window "$pid" >/dev/null || { echo "window did not appear"; exit 1; }
[ ! -e kalvoe.dat ] || { echo "event file written before the end"; exit 1; }
kill -TERM "$pid"
status=0
# strace ends with the program and its children, and exits with the program's status.
kalvo_wait_exit "$tracer" 20 || status=$?
[ $status -ne 124 ] || { echo "strace still running 20 s after SIGTERM: the program left a process behind"; exit 1; }
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
[ -f kalvoe.dat ] || { echo "event file not written"; exit 1; }
writes=$(grep -c 'kalvoe\.dat"' trace.txt || true)
[ "$writes" -eq 1 ] || { echo "event file written $writes times"; cat trace.txt; exit 1; }
sed -n 2p kalvoe.dat | grep -q '^Ver\.2\.16' || { echo "unexpected content"; od -c kalvoe.dat | head; exit 1; }
echo ok
