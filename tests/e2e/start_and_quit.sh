#!/usr/bin/env bash
# The real binary in a real X server: started in an empty folder, its window appears
# with the program's caption, which names the project's version, asks the window manager
# for no maximize button, and Alt+Q ends it with exit status 0.
set -euo pipefail
kalvo=$1
build=$3
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt"; exit 1; }
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
cd "$here"

cat > "$here/run.sh" <<'INNER'
set -u
kalvo=$1
caption="Kalvo         Ver.$2"
"$kalvo" &
pid=$!
wid=$(timeout 20 xdotool search --sync --name "^${caption//./\\.}\$" | head -n 1)
if [ -z "$wid" ]; then echo "window did not appear"; kill $pid; exit 1; fi
name=$(xdotool getwindowname "$wid")
[ "$name" = "$caption" ] || { echo "caption was '$name'"; kill $pid; exit 1; }
# The window manager's hints: minimize and close, no maximize (the size is fixed).
# _MOTIF_WM_HINTS is flags, functions, decorations: functions 8 minimize, 16 maximize,
# 32 close; decorations 32 minimize, 64 maximize.
hints=$(xprop -id "$wid" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
read -r _ functions decorations _ <<<"$hints"
if [ $((functions & 16)) -ne 0 ] || [ $((decorations & 64)) -ne 0 ] ||
   [ $((functions & 40)) -ne 40 ] || [ $((decorations & 32)) -eq 0 ]; then
  echo "title bar hints were '$hints'"; kill $pid; exit 1
fi
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 0.5
xdotool key --window "$wid" --clearmodifiers alt+q
for _ in $(seq 1 100); do
  if ! kill -0 $pid 2>/dev/null; then break; fi
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then echo "still running after Alt+Q"; kill $pid; exit 1; fi
wait $pid
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
echo "ok"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/run.sh" "$kalvo" "$version"
