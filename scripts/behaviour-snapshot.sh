#!/usr/bin/env bash
# Records what a user can observe of one built program folder, so that two builds can be
# compared with behaviour-compare.sh: console conversations, the files the program writes,
# the speech tools' output and screenshots of the windows under Xvfb. The wall clock is
# fixed (Tuesday 2026-12-08 10:00 in Bratislava) by a preloaded shim and every random
# choice is seeded, so two snapshots of one program agree.
#
# Usage: behaviour-snapshot.sh PROGRAM_FOLDER OUTDIR
#   PROGRAM_FOLDER  a built program folder (holds the `tamzel` binary); it is only read
#   OUTDIR          created; must not exist or be empty
# SNAPSHOT_INPUTS=DIR takes the sentences from DIR (the inputs/ of an earlier snapshot)
# instead of this checkout's tests, so a later snapshot plays exactly the same lines.
# SNAPSHOT_SKIP_GUI=1 leaves the screenshots out.
set -euo pipefail

if [ -z "${SNAPSHOT_NICED:-}" ]; then SNAPSHOT_NICED=1 exec nice -n 10 "$0" "$@"; fi
if [ $# -ne 2 ]; then sed -n '2,14s/^# \{0,1\}//p' "$0" >&2; exit 2; fi

HERE="$(cd "$(dirname "$0")" && pwd)"
REPO="$(cd "$HERE/.." && pwd)"
PROGRAM="$(cd "$1" && pwd)"
OUT="$2"
[ -x "$PROGRAM/tamzel" ] || { echo "no tamzel binary in $PROGRAM" >&2; exit 2; }
if [ -e "$OUT" ] && [ -n "$(ls -A "$OUT")" ]; then echo "$OUT is not empty" >&2; exit 2; fi
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"
# One fixed working folder: the program stores some paths (the chosen theme) whole, and
# messages may name the home, so the homes must have the same path in every snapshot.
WORK=/tmp/behaviour-snapshot.work
if ! mkdir "$WORK" 2>/dev/null; then
  echo "$WORK exists: another snapshot is running (or one was killed; remove it)" >&2; exit 2
fi
trap 'rm -rf "$WORK"' EXIT

FIXED_START="2026-12-08 10:00:00"
ZONE="Europe/Bratislava"
SEEDS=(1 7)
MALE=Peter
FEMALE=Katka
SESSION_TIMEOUT=120
SEED_FUNCTION='Random::SeedFromClock()'
STARTED=$SECONDS

log() { printf '%s\n' "$*" | tee -a "$OUT/meta/log.txt" >&2; }

# --- the clock shim and the environment every run of the program gets ---------------------
mkdir -p "$OUT/meta"
cc -O2 -shared -fPIC -o "$WORK/fixed-clock.so" "$HERE/snapshot/fixed-clock.c" -ldl

# The engine's clock-seeded generator is pinned through the seeding function's place in the
# binary; without it the window's replies may vary between runs (the console uses --seed).
seed_caller() {
  nm -C -S --defined-only "$PROGRAM/tamzel" 2>/dev/null |
    awk -v fn="$SEED_FUNCTION" '{name=$0; sub(/^[0-9a-f]+ [0-9a-f]+ [tTwW] /, "", name)}
      !found && $3 ~ /^[tTwW]$/ && substr(name, length(name) - length(fn) + 1) == fn {print $1 ":" $2; found = 1}'
}
SEED_CALLER="$(seed_caller)"
if [ -n "$SEED_CALLER" ]; then
  log "clock seeding pinned at $SEED_FUNCTION ($SEED_CALLER)"
else
  log "WARNING: no $SEED_FUNCTION in the binary: clock-seeded replies are not pinned"
fi

EPOCH="$(TZ=$ZONE date -d "$FIXED_START" +%s)"
mkdir -p "$WORK/user-home" "$WORK/runtime"
chmod 700 "$WORK/runtime"
PROGRAM_ENV=(
  "TZ=$ZONE" "LANG=C.UTF-8" "LC_ALL=C.UTF-8" "HOME=$WORK/user-home"
  "XDG_RUNTIME_DIR=$WORK/runtime" "XDG_CONFIG_HOME=$WORK/user-home/.config"
  "XDG_DATA_HOME=$WORK/user-home/.local/share" "FIXED_CLOCK_EPOCH=$EPOCH"
  "FIXED_CLOCK_SEED_CALLER=$SEED_CALLER" "LD_PRELOAD=$WORK/fixed-clock.so"
)
tamzel() { env -u QT_SCALE_FACTOR -u QT_QPA_PLATFORM -u TAMZEL_TIMING "${PROGRAM_ENV[@]}" "$@"; }

fresh_home() { rm -rf "$1"; cp -a "$PROGRAM" "$1"; }

# --- inputs ---------------------------------------------------------------------------------
sentences() { grep -v '^[[:space:]]*#' "$1" | grep -v '^[[:space:]]*$' || true; }

make_inputs() { # DIR: one file per console session, in the order they are played
  local in="$1" f name k
  mkdir -p "$in"
  sentences "$REPO/tests/brain/understanding.txt" > "$in/01-understanding.txt"
  k=10
  for f in "$REPO"/tests/brain/dialogues/*.txt; do
    name="$(basename "$f" .txt)"; k=$((k + 1))
    sed -n 's/^> //p' "$f" > "$in/$k-dialogue-$name.txt"
  done
  for name in teen crisis lookalike; do
    k=$((k + 1))
    sentences "$REPO/tests/brain/evaluation/$name.txt" > "$in/$k-evaluation-$name.txt"
  done
  # the senior set is two sessions, split where it says "#@session"
  k=$((k + 1))
  awk -v a="$in/$k-evaluation-senior-1.txt" -v b="$in/$((k + 1))-evaluation-senior-2.txt" '
    BEGIN {out = a} /^#@session/ {out = b; next}
    /^[[:space:]]*#/ || /^[[:space:]]*$/ {next} {print > out}' "$REPO/tests/brain/evaluation/senior.txt"
  sentences "$HERE/snapshot/sentences.txt" > "$in/speech.txt"
}

if [ -n "${SNAPSHOT_INPUTS:-}" ]; then
  cp -a "$SNAPSHOT_INPUTS" "$OUT/inputs"
  log "inputs taken from $SNAPSHOT_INPUTS"
else
  make_inputs "$OUT/inputs"
fi
SESSIONS=()
for f in "$OUT"/inputs/[0-9]*.txt; do SESSIONS+=("$(basename "$f" .txt)"); done

# --- console conversations ------------------------------------------------------------------
# session HOME USER SEED(or -) INPUT OUTPREFIX [FLAG...]
# A sentence like "Dobrú noc." ends the conversation; the lines after it are played in a new
# console session on the same home (as a user coming back would), noted in the output, so
# no line of a set is skipped. Every reply ends with its "# understood=" line (--verbose),
# which tells how many lines a session took.
session() {
  local home="$1" user="$2" seed="$3" input="$4" prefix="$5"; shift 5
  local seeding=(); [ "$seed" != - ] && seeding=(--seed "$seed")
  local total done=0 taken rc part="$WORK/session-part.txt"
  total=$(wc -l < "$input")
  : > "$prefix.stdout.txt"; : > "$prefix.stderr.txt"; : > "$prefix.rc"
  while :; do
    tail -n +"$((done + 1))" "$input" > "$part"
    rc=0
    ( cd "$WORK" && timeout "$SESSION_TIMEOUT" env "${PROGRAM_ENV[@]}" "$home/tamzel" --console \
        --home "$home" --user "$user" "${seeding[@]}" --verbose "$@" \
        < "$part" > "$WORK/session.out" 2> "$WORK/session.err" ) || rc=$?
    cat "$WORK/session.out" >> "$prefix.stdout.txt"
    cat "$WORK/session.err" >> "$prefix.stderr.txt"
    echo "$rc" >> "$prefix.rc"
    taken=$(( $(grep -c '^# understood=' "$WORK/session.out" || true) - 1 ))
    done=$((done + taken))
    [ "$rc" = 0 ] && [ "$taken" -gt 0 ] && [ "$done" -lt "$total" ] || break
    printf '=== a new session from line %d ===\n' "$((done + 1))" | tee -a "$prefix.stderr.txt" >> "$prefix.stdout.txt"
    shift $#  # the gender option counts only when the profile is made
  done
}

conversations() { # NAME SEED: both users, every session, one home
  local name="$1" seed="$2" home="$WORK/homes/$1" user flag s dir
  fresh_home "$home"
  for user in "$MALE" "$FEMALE"; do
    dir="$OUT/console/$name/$user"; mkdir -p "$dir"
    flag=(); [ "$user" = "$FEMALE" ] && flag=(--female)
    for s in "${SESSIONS[@]}"; do
      session "$home" "$user" "$seed" "$OUT/inputs/$s.txt" "$dir/$s" "${flag[@]}"
      flag=()
    done
  done
  capture_home "$name"
}

capture_home() { # NAME: what the runs wrote into the home
  python3 "$HERE/snapshot/written-files.py" "$PROGRAM" "$WORK/homes/$1" "$OUT/homes/$1"
}

mkdir -p "$WORK/homes"
for seed in "${SEEDS[@]}"; do
  log "console, seed $seed"
  conversations "seed$seed" "$seed"
done
# Without --seed the engine seeds itself from the clock, which the shim pins.
log "console, clock-seeded"
fresh_home "$WORK/homes/clock-seeded"
mkdir -p "$OUT/console/clock-seeded"
for s in "${SESSIONS[@]:0:3}"; do
  session "$WORK/homes/clock-seeded" "$MALE" - "$OUT/inputs/$s.txt" "$OUT/console/clock-seeded/$s"
done
capture_home clock-seeded

# --- command line answers without a conversation --------------------------------------------
log "command line"
mkdir -p "$OUT/cli"
fresh_home "$WORK/homes/cli"
cli() { # NAME ARGS...: stdout, stderr and exit code of one call
  local name="$1" rc=0; shift
  ( cd "$WORK" && timeout 60 env "${PROGRAM_ENV[@]}" "$WORK/homes/cli/tamzel" "$@" \
      < /dev/null > "$OUT/cli/$name.stdout.txt" 2> "$OUT/cli/$name.stderr.txt" ) || rc=$?
  echo "$rc" > "$OUT/cli/$name.rc"
}
cli help --help
cli bad-seed --console --home "$WORK/homes/cli" --seed x
cli units-missing --units
cli console-empty --console --home "$WORK/homes/cli" --user "$MALE" --seed 1
cli console-bad-name --console --home "$WORK/homes/cli" --user "Peter_1" --seed 1
# A line longer than the input limit is cut with a notice; bytes that are not UTF-8 are
# not lost silently.
{ printf 'Ahoj %*s\n' 5000 '' | tr ' ' 'a'; echo "Ako sa máš?"; } > "$WORK/long-line.txt"
{ printf 'Ahoj, \xe8o rob\xed\x9a?\n'; echo "Ako sa máš?"; } > "$WORK/not-utf8.txt"
session "$WORK/homes/cli" "$MALE" 1 "$WORK/long-line.txt" "$OUT/cli/console-long-line"
session "$WORK/homes/cli" "$MALE" 1 "$WORK/not-utf8.txt" "$OUT/cli/console-not-utf8"
capture_home cli

# --- speech tools ---------------------------------------------------------------------------
log "speech"
mkdir -p "$OUT/speech" "$WORK/speech"
fresh_home "$WORK/homes/speech"
speak() { # NAME TEXT [OPTION...]: units, frames and the sha256 of the sound
  local name="$1" text="$2" rc=0; shift 2
  ( cd "$WORK/speech" && env "${PROGRAM_ENV[@]}" "$WORK/homes/speech/tamzel" --home "$WORK/homes/speech" \
      --speak "$text" --wav "$name.wav" --frames "$name.frames.txt" --verbose "$@" \
      > "$OUT/speech/$name.speak.stdout.txt" 2> "$OUT/speech/$name.speak.stderr.txt" ) || rc=$?
  echo "$rc" > "$OUT/speech/$name.speak.rc"
  if [ -f "$WORK/speech/$name.frames.txt" ]; then mv "$WORK/speech/$name.frames.txt" "$OUT/speech/"; fi
  if [ -f "$WORK/speech/$name.wav" ]; then
    (cd "$WORK/speech" && sha256sum "$name.wav") >> "$OUT/speech/wav.sha256"
    rm "$WORK/speech/$name.wav"
  fi
}
units() { # NAME TEXT [OPTION...]
  local name="$1" text="$2" rc=0; shift 2
  ( cd "$WORK/speech" && env "${PROGRAM_ENV[@]}" "$WORK/homes/speech/tamzel" --home "$WORK/homes/speech" \
      --units "$text" "$@" > "$OUT/speech/$name.stdout.txt" 2> "$OUT/speech/$name.stderr.txt" ) || rc=$?
  echo "$rc" > "$OUT/speech/$name.rc"
}
k=0
while IFS= read -r line; do
  k=$((k + 1)); id=$(printf 's%02d' "$k")
  units "$id.units" "$line"
  units "$id.units-verbose" "$line" --verbose
  speak "$id" "$line"
done < "$OUT/inputs/speech.txt"
first="$(head -n 1 "$OUT/inputs/speech.txt")"
speak slow-loud "$first" --volume 100 --speed 51 --intonation 0
speak fast-quiet "$first" --volume 10 --speed 100 --intonation 18
capture_home speech

# --- windows under Xvfb ---------------------------------------------------------------------
if [ -z "${SNAPSHOT_SKIP_GUI:-}" ]; then
  log "windows under Xvfb"
  mkdir -p "$OUT/screens" "$OUT/meta/gui"
  fresh_home "$WORK/homes/gui"
  PROGRAM_ENV="${PROGRAM_ENV[*]}" timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" \
    "$HERE/snapshot/gui-steps.sh" "$WORK/homes/gui" "$OUT/screens" "$OUT/meta/gui" \
    2> "$OUT/meta/gui/steps.stderr.txt" || log "GUI steps ended with $?"
  capture_home gui
fi

# --- what this snapshot was taken of (not compared) -----------------------------------------
{
  echo "program: $PROGRAM"
  echo "taken: $(date -u '+%Y-%m-%d %H:%M:%S UTC') in $((SECONDS - STARTED)) s"
  echo "binary: $(sha256sum "$PROGRAM/tamzel" | cut -d' ' -f1)"
  echo "seeding: ${SEED_CALLER:-not found}"
} > "$OUT/meta/about.txt"
(cd "$PROGRAM" && find . -type f -print0 | sort -z | xargs -0 sha256sum) > "$OUT/meta/program-folder.sha256"
log "done in $((SECONDS - STARTED)) s: $OUT"
