#!/usr/bin/env bash
# Peak memory (RSS) of the console program with the shipped brain and with generated brains
# of keyword rules (the shape engine_bench measures: a block head, one word test, "->",
# three answers, "<-"), each answering three sentences. Needs a built program folder.
#   bench/engine/rss.sh [BUILD]          (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=$(realpath "${1:-build}")
HOME_DIR=$BUILD/tamzel
BRAINC=$BUILD/bin/tamzel-brainc
[ -x "$HOME_DIR/tamzel" ] && [ -x "$BRAINC" ] || { echo "Najprv zostavte program: $BUILD" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

peak_kb() {  # program folder
  printf 'Ahoj!\nAko sa m\xc3\xa1\xc5\xa1?\nslovo7 je tu.\n' |
    /usr/bin/time -f %M "$1/tamzel" --console --home "$1" --user Bench --seed 1 2>&1 >/dev/null | tail -1
}

copy_home() {  # target
  mkdir -p "$1"
  cp -r "$HOME_DIR/." "$1/"
  rm -rf "$1/users" "$1/zaznamy"
}

printf '| brain | brain file | peak RSS |\n| --- | ---: | ---: |\n'
copy_home "$WORK/shipped"
printf '| shipped | %s KB | %s KB |\n' "$(( $(stat -c %s "$WORK/shipped/ai/brainfile.ai") / 1024 ))" "$(peak_kb "$WORK/shipped")"
for rules in 1000 3300 10000 100000; do
  dir=$WORK/rules-$rules
  copy_home "$dir"
  awk -v n="$rules" 'BEGIN {
      for (r = 0; r < n; r++) {
        printf "IF(1)\n?( slovo%d )\n->\n-Povedal si slovo%d, to je zauj\303\255mav\303\251.\n", r, r
        printf "-O slovo%d viem ve\304\276mi ve\304\276a, |.\n-Aj ja m\303\241m r\303\241d slovo%d.\n<-\n", r, r
      }
      print "UNKNOWN"; print "-Tomu nerozumiem."; print "-Povedz to inak." }' >"$dir/rules.brain"
  "$BRAINC" "$dir/rules.brain" "$dir/ai/brainfile.ai" >/dev/null
  printf '| %s rules | %s KB | %s KB |\n' "$rules" "$(( $(stat -c %s "$dir/ai/brainfile.ai") / 1024 ))" "$(peak_kb "$dir")"
done
