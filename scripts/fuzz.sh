#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time, one at a time
# with one job (the machine is shared), on seed corpora made from our data.
#   scripts/fuzz.sh [seconds per target] [target...]     (default: 600 s, every target)
# Results: build-harden-fuzz/logs/<target>.log, crashes in build-harden-fuzz/artifacts/,
# every run's seconds appended to build-harden-fuzz/fuzz-time.tsv.
set -euo pipefail
# Seeds are made from Windows-1250 text: in a UTF-8 locale grep, sed and awk stop or skip at
# the first byte that is no UTF-8.
export LC_ALL=C
cd "$(dirname "$0")/.."
ROOT=$PWD
SECONDS_EACH=${1:-600}
[ $# -gt 0 ] && shift
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(fuzz_brain fuzz_tags fuzz_memory fuzz_profiles fuzz_speech fuzz_jpeg fuzz_theme)
HOME_BUILD=${HOME_BUILD:-$ROOT/build-harden}
OUT=${FUZZ_BUILD:-$ROOT/build-harden-fuzz}

# The compiled brain and dictionary come from the normal build of our program folder.
# SKIP_BUILD=1 runs what is built already (while another build uses the folders).
if [ "${SKIP_BUILD:-0}" != 1 ]; then
  cmake -S . -B "$HOME_BUILD" -G Ninja >/dev/null
  cmake --build "$HOME_BUILD" --target brain_file speech_dictionary -j2 >/dev/null
  CC=clang CXX=clang++ cmake -S fuzz -B "$OUT" -G Ninja -DTAMZEL_FUZZ_HOME="$HOME_BUILD/tamzel" >/dev/null
  cmake --build "$OUT" -j2 --target "${TARGETS[@]}"
fi

to1250() { iconv -f UTF-8 -t WINDOWS-1250//TRANSLIT; }
# Brain-language lines of a source file: comments and blank lines left out.
brain_lines() { grep -v '^[[:space:]]*//' "$1" | grep -v '^[[:space:]]*$' | to1250; }

seed_brain() {
  local d=$1 n=0 f
  # Groups of about ten blocks of each source, so that a run does many small passes.
  for f in data/brain/*.brain; do
    brain_lines "$f" | awk -v dir="$d" -v base="$((n++))" '
      /^IF\(/ && ++blocks % 10 == 0 { print "Lahoj, ja som Jan. Ako sa m\341\232?\n" text > (dir "/s" base "-" k++); text = "" }
      { text = text $0 "\n" }
      END { if (text != "") print "Lahoj, ja som Jan. Ako sa m\341\232?\n" text > (dir "/s" base "-" k++) }'
  done
  local brain=$HOME_BUILD/tamzel/ai/brainfile.ai
  { printf 'Rdobr\xFD de\xF2\n'; head -c 6000 "$brain"; } >"$d/whole"
  { printf 'AAko sa vol\xE1\x9A?\n'; tail -c +57 "$brain" | head -c 6000; } >"$d/records"
}

seed_tags() {
  local d=$1 n=0 f
  for f in data/brain/*.brain; do
    # Each block of the source with the first tagged line in front of it.
    brain_lines "$f" | awk -v dir="$d" -v base="$((n++))" '
      /^IF\(/ { if (block != "") { print "mam rad psov a macky\n" tag "\n" block > (dir "/b" base "-" k++) }
                block = ""; tag = "" }
      { block = block $0 "\n"; if (tag == "" && index($0, "<")) tag = $0 }
      k > 40 { exit }'
  done
}

seed_memory() {
  local d=$1
  printf 'user,meno,Jan\n[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n' >"$d/new"
  printf 'pes,farba,hneda\n[DUZ]\r\nOBJECT(user)\r\n->\r\nmeno:Jan\r\nrad:psy;macky\r\n<-\r\nOBJECT(pes)\r\n->\r\nfarba:cierna;hneda\r\n<-\r\n' >"$d/filled"
  printf 'user,rad\nOBJECT(user)\n->\nrad:;\n' >"$d/unclosed"
}

seed_profiles() {
  local d=$1
  printf 'Jan\n[data]\r\nmeno=J\xE1n\r\nvyslovnost=J\xE1n\r\npohlavie=muz\r\nnalada=-12\r\n' >"$d/dat"
  printf 'Eva\n[user]\r\nzaznamy=1\r\nrec=0\r\nanimacia=1\r\ninfobar=1\r\nhlasitost=10\r\nrychlost=65\r\nintonacia=3\r\n' >"$d/cfg"
  printf 'Jan\n[tamzel]\r\nautolog=1\r\nlast_user=Jan\r\ntheme=design/interface.thm\r\n' >"$d/ini"
  printf 'Jano\nJan\r\n\xC9va\r\nJano\r\n' >"$d/lst"
}

seed_speech() {
  local d=$1 n=0 f
  for f in data/brain/*.brain; do
    # Answer lines start with "-"; "->" opens a branch and is no answer.
    { printf 'S'; brain_lines "$f" | grep -E '^[[:space:]]*-([^>]|$)' | head -30 | sed 's/^[[:space:]]*-//' | tr '\n' ' '
      printf '\nJan\nJ\xE1n\n'; } >"$d/answer-$((n++))"
  done
  printf 'N1234567' >"$d/number"
  printf 'N0000000000000000000000000000000000012' >"$d/long-number"
  { printf 'Dnapr. 12 km a 3,5 kg\n'; head -40 data/dictionary/slovnik.txt | to1250; } >"$d/dictionary"
}

seed_jpeg() {
  local d=$1
  cp data/gorvin/Jpg/default1.jpg data/gorvin/Jpg/face0.jpg data/design/interface/1.jpg "$d/"
}

seed_theme() {
  local d=$1
  cp data/design/interface.thm "$d/interface"
  cp data/design/tmava.thm "$d/tmava"
}

mkdir -p "$OUT/logs" "$OUT/artifacts"
# Each target makes its program folder in here; a crash or timeout ends the target with
# _exit, so the folders are removed by this script, whatever way it ends.
RUN_DIR=$(mktemp -d "$([ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tamzel-fuzz-run.XXXXXX")
trap 'rm -rf "$RUN_DIR"' EXIT
trap 'exit 130' INT TERM
export TAMZEL_FUZZ_TMPDIR=$RUN_DIR
for t in "${TARGETS[@]}"; do
  corpus=$OUT/corpus/$t
  if [ ! -d "$corpus" ]; then
    mkdir -p "$corpus"
    ( set +o pipefail; "seed_${t#fuzz_}" "$corpus" ) || true
  fi
  case $t in
    fuzz_brain) max_len=8192 ;;
    fuzz_jpeg) max_len=65536 ;;
    *) max_len=4096 ;;
  esac
  echo "== $t: ${SECONDS_EACH}s"
  start=$(date +%s)
  set +e
  TAMZEL_FUZZ_HOME=$HOME_BUILD/tamzel "$OUT/$t" "$corpus" -max_total_time="$SECONDS_EACH" \
    -timeout=20 -rss_limit_mb=2048 -max_len=$max_len -print_final_stats=1 \
    -artifact_prefix="$OUT/artifacts/$t-" >"$OUT/logs/$t.log" 2>&1
  rc=$?
  set -e
  printf '%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$t" "$(( $(date +%s) - start ))" "$rc" >>"$OUT/fuzz-time.tsv"
  grep -aE 'stat::number_of_executed_units|ERROR|SUMMARY' "$OUT/logs/$t.log" | head -5 || true
done
