#!/usr/bin/env bash
# Plays the held-out sets through the console of TOOLS_DIR/home/tamzel.
# Usage: run.sh TOOLS_DIR OUT.txt
set -euo pipefail
TOOLS="$(cd "$1" && pwd)"; OUT="$2"
HERE="$(cd "$(dirname "$0")" && pwd)"
WORK="$(mktemp -d /tmp/heldout-run.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
BIN="$TOOLS/home/tamzel"

sentences() { grep -v '^[[:space:]]*#' "$1" | grep -v '^[[:space:]]*$' || true; }

fresh_home() { rm -rf "$1"; cp -r "$TOOLS/home" "$1"; }

# play FILE HOME USER -> raw console output on stdout
play() { timeout 120 "$BIN" --console --home "$2" --user "$3" --seed 1 --verbose < "$1" 2>&1 || true; }

# pair INPUTFILE RAWFILE SETNAME: first block is the start greeting, then one block per input line
pair() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
inp=[l.rstrip('\n') for l in open(sys.argv[1],encoding='utf-8')]
raw=open(sys.argv[2],encoding='utf-8',errors='replace').read().split('\n')
blocks=[];cur=[]
for l in raw:
    if l.startswith('# understood='):
        blocks.append((' / '.join(cur), l[2:])); cur=[]
    elif l.strip():
        cur.append(l)
if cur: blocks.append((' / '.join(cur),'(no flag)'))
name=sys.argv[3]
if blocks: print(f'[{name}] START: {blocks[0][0]}  #{blocks[0][1]}')
for i,s in enumerate(inp):
    r,f=blocks[i+1] if i+1<len(blocks) else ('(NO REPLY)','-')
    print(f'[{name}:{i+1}] > {s}\n    < {r}\n    # {f}')
PY
}

run_conversation() { # SET USER GENDER
  local set="$1" user="$2" gender="$3" home="$WORK/$1"
  fresh_home "$home"
  if [ "$gender" = zena ]; then
    printf '' | play /dev/stdin "$home" "$user" > /dev/null
    sed -i 's/^pohlavie=muz/pohlavie=zena/' "$home/users/_$user/user.dat"
  fi
  # a line "#@session" starts a new console session on the same home (coming back after a break)
  local k=0
  awk -v dir="$WORK" -v set="$set" 'BEGIN{k=1} /^#@session/{k++; next} /^[[:space:]]*#/||/^[[:space:]]*$/{next} {print > (dir "/" set "." k ".in")}' "$HERE/$set.txt"
  for part in "$WORK/$set".*.in; do
    k=$((k+1))
    play "$part" "$home" "$user" > "${part%.in}.raw"
    pair "$part" "${part%.in}.raw" "$set/s$k"
  done
}

run_each() { # SET USER: every sentence in its own fresh home
  local set="$1" user="$2" n=0
  while IFS= read -r line; do
    n=$((n+1))
    fresh_home "$WORK/one"
    printf '%s\n' "$line" > "$WORK/one.in"
    play "$WORK/one.in" "$WORK/one" "$user" > "$WORK/one.raw"
    pair "$WORK/one.in" "$WORK/one.raw" "$set" | sed "s/^\[$set:1\]/[$set:$n]/; /START:/d"
  done < <(sentences "$HERE/$set.txt")
}

{
  run_conversation teen Kubo muz
  run_conversation senior Mária zena
  run_each crisis Lenka
  run_each lookalike Kubo
} > "$OUT"
echo "written $OUT"
