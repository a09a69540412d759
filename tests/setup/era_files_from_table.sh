#!/usr/bin/env bash
# The shipped era files are what scripts/make-era-files makes of data/eras.tsv, byte for
# byte, and the fuzz corpus holds the same files: an edit of the table or of the notes
# that was not followed by a run of the script shows here.
set -euo pipefail
src=$1
build=$2
fail() { echo "FAIL: $*"; exit 1; }
out=$build/era-files-check
rm -rf "$out"
mkdir -p "$out"
python3 "$src/scripts/make-era-files" "$src/data/eras.tsv" "$out" >/dev/null
for f in KalvoN.dat KalvoS.dat; do
  cmp -s "$out/$f" "$src/data/$f" || fail "data/$f is not what scripts/make-era-files makes of data/eras.tsv"
  cmp -s "$out/$f" "$src/fuzz/corpus/era_file/$f" || fail "fuzz/corpus/era_file/$f differs from data/$f"
done
# The Southern file says that its 明徳 years count from the unification.
iconv -f CP932 -t UTF-8 "$src/data/KalvoS.dat" | grep -q '史実ではこの間は明徳3、4、5年' ||
  fail "KalvoS.dat does not say how its 明徳 years are counted"
echo "era files match data/eras.tsv"
