#!/usr/bin/env bash
# kalvoe.dat is a bind mount (a file of another folder mounted in its place, as
# containers and sandboxes do): it cannot be renamed over (EBUSY) but can be written.
# The real program saves into it in place. Needs root for the mount, in a mount
# namespace of its own so that nothing outside sees it; without them the test is
# skipped (status 77).
set -euo pipefail
kalvo=$1
if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
  echo "skipped: a bind mount needs root and mount namespaces"
  exit 77
fi
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
mkdir "$here/work" "$here/elsewhere" "$here/home"
printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,2\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" > "$here/elsewhere/real.dat"
: > "$here/work/kalvoe.dat"

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
here=$2
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent HOME="$here/home" XDG_STATE_HOME="$here/home/state" \
  "$kalvo" 2> "$here/stderr.txt" &
pid=$!
fail() { echo "$*"; cat "$here/stderr.txt"; kill -9 "$pid" 2>/dev/null; exit 1; }
wid=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Kalvo ' | head -n 1)
[ -n "$wid" ] || fail "window did not appear"
sleep 0.5
xdotool mousemove --window "$wid" 30 125 click 1   # 起算日含む
sleep 0.5
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after SIGTERM (an error box?)"
wait "$pid"
status=$?
[ $status -eq 0 ] || fail "exit status $status"
INNER

unshare -m bash -c '
  set -e
  mount --bind "$1/elsewhere/real.dat" "$1/work/kalvoe.dat"
  cd "$1/work"
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$1/run.sh" "$2" "$1"
' bash "$here" "$kalvo"
real="$here/elsewhere/real.dat"
sed -n 4p "$real" | grep -q '^ 1 ' || { echo "the tick did not reach the mounted file"; cat "$here/stderr.txt"; exit 1; }
grep -q '^a@2003/9/14' "$real" || { echo "the entry was lost"; exit 1; }
[ -z "$(ls -A "$here/work")" ] || [ "$(ls -A "$here/work")" = "kalvoe.dat" ] || { echo "left behind:"; ls -A "$here/work"; exit 1; }
echo ok
