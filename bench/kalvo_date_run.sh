#!/usr/bin/env bash
# kalvo-date as a script runs it: `kalvo-date --tsv` over every day of 1900-2099 (73,049
# dates on standard input), the whole program from exec to exit, against a program that asks
# ICU's dangi calendar (UTC+9) for month, leap flag and day of the same dates. The two run in
# turn, five times each; the best of each counts, as the load of the shared machine only
# ever adds time. Exits 1 when kalvo-date takes more than a second, is not ten times as fast,
# or prints anything but nine columns a date.
#
#   bench/kalvo_date_run.sh KALVO_DATE DANGI_DATES
set -euo pipefail
kalvo_date=$1
peer=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$peer" --list 1900 2099 >"$work/dates"
n=$(wc -l <"$work/dates")

best_kalvo=
best_peer=
for _ in 1 2 3 4 5; do
  for who in kalvo peer; do
    if [ $who = kalvo ]; then cmd=("$kalvo_date" --tsv); else cmd=("$peer"); fi
    start=$(date +%s%N)
    "${cmd[@]}" <"$work/dates" >"$work/$who.out"
    ns=$(($(date +%s%N) - start))
    if [ $who = kalvo ]; then
      [ -n "$best_kalvo" ] && [ "$best_kalvo" -le "$ns" ] || best_kalvo=$ns
    else
      [ -n "$best_peer" ] && [ "$best_peer" -le "$ns" ] || best_peer=$ns
    fi
  done
done

lines=$(awk -F'\t' 'NF == 9' "$work/kalvo.out" | wc -l)
ok=1
[ "$lines" -eq "$n" ] || { echo "kalvo-date --tsv: $lines lines of nine columns for $n dates"; ok=0; }
awk -v k="$best_kalvo" -v p="$best_peer" -v n="$n" 'BEGIN {
  printf "kalvo-date --tsv, every day 1900-01-01..2099-12-31 (%d dates on standard input), the whole run: " \
         "%.3f s (target <= 1 s); ICU dangi (month, leap, day) the same way: %.3f s: kalvo-date %.1fx as fast " \
         "(target >= 10x)\n", n, k / 1e9, p / 1e9, p / k
  exit !(k <= 1e9 && p / k >= 10)
}' || ok=0
[ $ok -eq 1 ]
