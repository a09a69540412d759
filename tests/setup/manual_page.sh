#!/usr/bin/env bash
# The manual page renders without a warning, from its UTF-8 source and as installed (ASCII with
# groff escapes), is found by lexgrog, and names the files and the signals the program really
# uses: the signal list is read from the termination code.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
page=$build/man/kalvo.1
[ -f "$page" ] && [ -f "$page.gz" ] || fail "the manual page was not built"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

for p in "$page" "$page.gz" "$build/man/kalvo.utf8.1"; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$p" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $p: $warnings"
done
warnings=$(groff -ww -man -Tutf8 "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "groff: $warnings"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=60 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man at 60 columns: $warnings"
lexgrog "$page" | grep -q '"kalvo - ' || fail "lexgrog: $(lexgrog "$page")"
grep -q "^\.TH KALVO 1 \"[0-9-]*\" \"Kalvo $version\"" "$page" || fail "the page is not of version $version"

text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
for word in kalvoe.dat KalvoN.dat KalvoS.dat /usr/share/kalvo 'home folder' 'Alt+Q' 和暦 年号; do
  [ "$word" != /usr/share/kalvo ] || word=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")/share/kalvo
  grep -qF "$word" <<<"$text" || fail "the page does not mention $word"
done
signals=$(sed -n 's/.*for (int sig : {\([^}]*\)}).*/\1/p' "$src/src/platform/termination.cpp" | tr -d ' ' | tr ',' '\n')
[ -n "$signals" ] || fail "no signal list found in termination.cpp"
for s in $signals; do
  grep -q "^SIGNALS" <<<"$text" && grep -A4 '^SIGNALS' <<<"$text" | grep -q "$s" || fail "SIGNALS does not name $s"
done
echo ok
