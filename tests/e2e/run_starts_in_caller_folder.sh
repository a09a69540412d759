#!/usr/bin/env bash
# scripts/run, called from a folder outside the checkout, builds in the checkout and starts the
# program in the caller's folder, as an installed program starts in the folder it is called
# from: the event file kalvoe.dat is written there, and none appears in the checkout.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
src=$2
build=$3
here=$KALVO_TMP
mkdir "$here/caller"
had_own=0
[ -e "$src/kalvoe.dat" ] && had_own=1

cd "$here/caller"
kalvo_start env KALVO_BUILD_DIR="$build" bash "$src/scripts/run" >"$here/run.log" 2>&1
pid=$KALVO_PID
kalvo_window "$pid" '^Kalvo ' 120 >/dev/null || { echo "FAIL: window did not appear"; cat "$here/run.log"; exit 1; }
# scripts/run ends in exec, so the process started is the program; SIGTERM ends it with a save.
status=0
kalvo_end "$pid" 10 || status=$?
[ $status -ne 124 ] || { echo "FAIL: still running after SIGTERM"; exit 1; }
[ $status -eq 0 ] || { echo "FAIL: scripts/run, exit status $status"; cat "$here/run.log"; exit 1; }
if [ $had_own -eq 0 ] && [ -e "$src/kalvoe.dat" ]; then
  rm -f "$src/kalvoe.dat"
  echo "FAIL: kalvoe.dat was written into the checkout"
  exit 1
fi
[ -f "$here/caller/kalvoe.dat" ] || { echo "FAIL: no kalvoe.dat in the caller's folder: $(ls -A "$here/caller")"; exit 1; }
echo ok
