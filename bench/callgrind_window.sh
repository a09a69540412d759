# What the scripts that count a window's instructions share (sourced, not run): starting
# a program under callgrind in the caller's X server and waiting for its window, and
# printing counts with thousands separators.

# Starts PROGRAM in DIR under callgrind, its profiles to $work/cg.<pid>, and waits for
# its first visible window: sets pid and wid. Under callgrind on a loaded machine a
# start can take minutes; six are allowed.
callgrind_start() {
  local dir=$1 program=$2 i
  (cd "$dir" && exec valgrind --tool=callgrind --callgrind-out-file="$work/cg.%p" "$program" >/dev/null 2>"$work/vg.log") &
  pid=$!
  wid=
  for i in $(seq 1 3600); do
    wid=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -1) || true
    [ -n "$wid" ] && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      # Say why: what valgrind and the program printed before the end.
      echo "$program ended before it showed a window; the end of its log:" >&2
      tail -n 15 "$work/vg.log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "$program shows no window within 6 minutes" >&2
  return 1
}

# An awk function that writes a count with thousands separators.
awk_grouped='
  function grouped(v, s, r) {
    s = sprintf("%d", v)
    for (r = ""; length(s) > 3; s = substr(s, 1, length(s) - 3)) r = "," substr(s, length(s) - 2) r
    return s r
  }'
