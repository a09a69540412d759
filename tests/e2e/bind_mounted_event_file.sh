#!/usr/bin/env bash
# kalvoe.dat is a bind mount (a file of another folder mounted in its place, as
# containers and sandboxes do): it cannot be renamed over (EBUSY) but can be written.
# The real program saves into it in place. The program runs in a mount namespace of its
# own, which holds the mount, so that nothing outside sees it and it goes with the
# program; that needs root, and without it the test is skipped (status 77).
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
  echo "skipped: a bind mount needs root and mount namespaces"
  exit 77
fi
source "$(dirname "$0")/lib/common.sh"
kalvo_under_x "$@"
kalvo=$1
here=$KALVO_TMP
real=$here/elsewhere/real.dat
mkdir "$here/work" "$here/elsewhere"
kalvo_event_file >"$real"
: >"$here/work/kalvoe.dat"
cd "$here/work"

# unshare and sh end in exec: the process started is the program.
kalvo_open unshare -m sh -c 'mount --bind "$1" kalvoe.dat && exec "$2"' sh "$real" "$kalvo"
kalvo_tick "$KALVO_WID"
sleep 0.5
kalvo_expect_end 0 "$KALVO_PID" 10
kalvo_ticked "$real" || kalvo_fail "the tick did not reach the mounted file"
grep -q '^a@2003/9/14' "$real" || kalvo_fail "the entry was lost"
left=$(ls -A)
[ -z "$left" ] || [ "$left" = kalvoe.dat ] || kalvo_fail "left behind: $left"
echo ok
