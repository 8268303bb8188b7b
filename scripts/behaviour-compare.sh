#!/usr/bin/env bash
# Compares two snapshots taken by behaviour-snapshot.sh (before and after a change).
# Text outputs and the files the program wrote must be identical byte for byte, except for
# the known noise below, which is masked and reported on its own. Screenshots are compared
# pixel by pixel (compare -metric AE); pixels inside the noise regions the snapshot lists
# (the face, the caret, the info bar) are counted apart. Difference images go to DIFFDIR.
#
# Usage: behaviour-compare.sh BEFORE AFTER [DIFFDIR]   (DIFFDIR defaults to AFTER.diff)
# Exit code: 0 when nothing but noise differs, 1 on any other difference, 2 on bad usage.
#
# Known noise, masked:
#   tamzel.lock          holds the process id of the last run
#   homes/gui records    the clock times of the window's stamps ("10:0:3"): they depend on
#                        how long the desktop steps took (the date is still compared)
#   written.txt          lists the lock file's checksum (the files themselves are compared)
set -uo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then sed -n '2,9s/^# \{0,1\}//p' "$0" >&2; exit 2; fi
BEFORE="$(cd "$1" && pwd)" || exit 2
AFTER="$(cd "$2" && pwd)" || exit 2
DIFFS="${3:-$AFTER.diff}"
mkdir -p "$DIFFS"
WORK="$(mktemp -d /tmp/behaviour-compare.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
COMPARED=(inputs console cli speech homes screens)
failed=0

fail() { printf 'DIFFERENT: %s\n' "$*"; failed=1; }

# masked_copy SNAPSHOT DEST: the compared parts with the known noise taken out
masked_copy() {
  local part
  mkdir -p "$2"
  for part in "${COMPARED[@]}"; do
    [ -e "$1/$part" ] && cp -a "$1/$part" "$2/"
  done
  find "$2/homes" -name tamzel.lock -exec sed -i -E 's/^[0-9]+/PID/' {} +
  if [ -d "$2/homes/gui/files" ]; then
    find "$2/homes/gui/files" -type f \( -name '*.txt' -o -name '*.htm' \) \
      -exec sed -i -E 's/\b[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}\b/hh:mm:ss/g' {} +
  fi
  rm -f "$2"/screens/*.png "$2"/homes/*/written.txt
}

if ! diff -rq "$BEFORE/inputs" "$AFTER/inputs" > /dev/null; then
  fail "the snapshots played different sentences; take the later one with" \
       "SNAPSHOT_INPUTS=$BEFORE/inputs"
fi

echo "== programs"
for side in "$BEFORE" "$AFTER"; do
  printf '%s: %s\n' "$side" "$(grep -h '^binary\|^seeding' "$side/meta/about.txt" | paste -sd' ')"
done
changed_tree=$(diff <(sed 's/ .*\.\/tamzel$/ binary/' "$BEFORE/meta/program-folder.sha256") \
                    <(sed 's/ .*\.\/tamzel$/ binary/' "$AFTER/meta/program-folder.sha256") | grep -c '^>' || true)
echo "program folder files other than the binary that differ: $changed_tree (not a failure by itself)"

echo "== text outputs and written files"
masked_copy "$BEFORE" "$WORK/before"
masked_copy "$AFTER" "$WORK/after"
if diff -r "$WORK/before" "$WORK/after" > "$DIFFS/text.diff"; then
  echo "identical (after masking the known noise)"
  rm -f "$DIFFS/text.diff"
else
  fail "text or files, $(grep -c '^diff\|^Only in\|^Binary' "$DIFFS/text.diff") files; see $DIFFS/text.diff"
  sed -n '1,40p' "$DIFFS/text.diff"
fi
# What the masks hid: files that differ before masking but not after.
raw_copy() { local part; mkdir -p "$2"; for part in "${COMPARED[@]}"; do [ -e "$1/$part" ] && cp -a "$1/$part" "$2/"; done; rm -f "$2"/screens/*.png; }
raw_copy "$BEFORE" "$WORK/raw-before"
raw_copy "$AFTER" "$WORK/raw-after"
diff -rq "$WORK/raw-before" "$WORK/raw-after" | sed -n "s|^Files $WORK/raw-before/\([^ ]*\) and .*|\1|p" |
  while read -r f; do
    cmp -s "$WORK/before/$f" "$WORK/after/$f" && echo "noise only: $f"
  done

echo "== screenshots (differing pixels: all / outside the noise regions)"
# blank NOISE_FILE NAME IN OUT: the shot with its noise regions painted black
blank() {
  local regions r x0 y0 x1 y1 args=()
  regions=$(awk -v n="$2" '$1 == n {$1 = ""; print}' "$1")
  for r in $regions; do
    IFS=, read -r x0 y0 x1 y1 <<< "$r"
    args+=(-draw "rectangle $x0,$y0 $x1,$y1")
  done
  if [ ${#args[@]} -eq 0 ]; then cp "$3" "$4"; else convert "$3" -fill black "${args[@]}" "$4"; fi
}
pixels() { compare -metric AE "$1" "$2" "$3" 2>&1 | sed 's/ .*//'; }
for shot in "$BEFORE"/screens/*.png; do
  [ -e "$shot" ] || break
  name=$(basename "$shot")
  other="$AFTER/screens/$name"
  if [ ! -f "$other" ]; then fail "screenshot $name is missing after"; continue; fi
  all=$(pixels "$shot" "$other" "$DIFFS/${name%.png}.diff.png")
  blank "$BEFORE/screens/noise-regions.txt" "$name" "$shot" "$WORK/b.png"
  blank "$BEFORE/screens/noise-regions.txt" "$name" "$other" "$WORK/a.png"
  real=$(pixels "$WORK/b.png" "$WORK/a.png" null:)
  printf '%-32s %8s %8s\n' "$name" "$all" "$real"
  [ "$all" = 0 ] && rm -f "$DIFFS/${name%.png}.diff.png"
  [ "$real" = 0 ] || fail "screenshot $name: $real pixels outside the noise regions"
done
for shot in "$AFTER"/screens/*.png; do
  [ -e "$shot" ] && [ ! -f "$BEFORE/screens/$(basename "$shot")" ] && fail "screenshot $(basename "$shot") is new after"
done

if [ "$failed" = 0 ]; then echo "RESULT: same behaviour (difference images, if any: $DIFFS)"
else echo "RESULT: behaviour differs (details in $DIFFS)"; fi
exit "$failed"
