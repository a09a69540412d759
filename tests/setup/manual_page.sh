#!/usr/bin/env bash
# The manual pages, kalvo(1) and kalvo-date(1) in English and in Japanese, render without a
# warning, as installed (and the English ones from their UTF-8 sources), at 80 and 60 columns; lexgrog finds
# their names; they are of the project's version. kalvo(1) names the files and the signals
# the program really uses (the signal list is read from the termination code), in both
# languages; both kalvo-date(1) pages name every option kalvo-date --help lists.
set -eu  # no pipefail: grep -q may close a pipe early
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
datadir=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")/share/kalvo
signals=$(sed -n 's/.*for (int sig : {\([^}]*\)}).*/\1/p' "$src/src/platform/termination.cpp" | tr -d ' ' | tr ',' '\n')
[ -n "$signals" ] || fail "no signal list found in termination.cpp"
options=$("$build/kalvo-date" --help | grep -o -- '--[a-z-]*' | sort -u)
[ -n "$options" ] || fail "kalvo-date --help lists no options"

for name in kalvo kalvo-date ja/kalvo ja/kalvo-date; do
  page=$build/man/$name.1
  [ -f "$page" ] && [ -f "$page.gz" ] || fail "the manual page $name was not built"
  # A Japanese source fills its lines only with the break points the build adds.
  sources=("$build/man/$name.utf8.1")
  [ "${name#ja/}" = "$name" ] || sources=()
  for p in "$page" "$page.gz" "${sources[@]}"; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$p" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man -l $p: $warnings"
  done
  warnings=$(preconv -e UTF-8 "$page" | groff -ww -man -Tutf8 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "groff $name: $warnings"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=60 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man at 60 columns, $name: $warnings"
  program=${name#ja/}
  lexgrog "$page" | grep -q "\"$program - " || fail "lexgrog: $(lexgrog "$page")"
  upper=$(tr a-z A-Z <<<"$program")
  grep -q "^\.TH $upper 1 \"[0-9-]*\" \"Kalvo $version\"" "$page" || fail "$name is not of version $version"

  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  if [ "$program" = kalvo ]; then
    for word in kalvoe.dat KalvoN.dat KalvoS.dat "$datadir" 'Alt+Q' 'Alt+W' 和暦 年号 kalvo-date; do
      grep -qF "$word" <<<"$text" || fail "$name does not mention $word"
    done
    [ "$name" = kalvo ] && heading=SIGNALS || heading=シグナル
    for s in $signals; do
      grep -A4 "^$heading" <<<"$text" | grep -q "$s" || fail "$heading of $name does not name $s"
    done
  else
    for o in $options; do grep -qF -- "$o" <<<"$text" || fail "$name does not describe $o"; done
  fi
done
grep -qF 'home folder' <<<"$(LC_ALL=C.UTF-8 man -l "$build/man/kalvo.1" 2>/dev/null)" || fail "kalvo(1) does not mention the home folder"
echo ok
