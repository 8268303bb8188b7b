#!/usr/bin/env bash
# Compares Tamzel's voice with espeak-ng's Slovak voice on everyday sentences.
#
#   bench/voice/voice-report.sh [PROGRAM_FOLDER] [OUTDIR]
#
# PROGRAM_FOLDER is a built program folder (default build/tamzel). Renders every sentence of
# bench/voice/sentences.txt (and every word of it alone, for the gaps inside words) with
#   - Tamzel at the new-user settings (volume 10, speed 65, intonation 3),
#   - Tamzel at speed 75,
#   - espeak-ng -v sk,
# then prints per voice: syllables per second, share of silence, the longest silence inside
# a word, syllable-level spread, peak level and clipped samples (bench/voice/measure.py), and
# the recogniser proxy's forced-choice and WER figures when the proxy is at hand (ASR_DIR,
# default ../shared/tools/asr beside the repository; ASR=0 leaves it out). The proxy only
# compares voices with each other in one run; its figures mean nothing alone.
# Needs: espeak-ng, sox, /usr/bin/python3; for the proxy see its README.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
program=$(cd "${1:-$repo/build/tamzel}" && pwd)
out=${2:-$(mktemp -d /tmp/tamzel-voice.XXXXXX)}
mkdir -p "$out"
out=$(cd "$out" && pwd)
sentences=$here/sentences.txt
asr_dir=${ASR_DIR:-$repo/../shared/tools/asr}
py=/usr/bin/python3

# A private copy of the program folder, so no profile of the real one is touched.
home=$out/home
rm -rf "$home"
cp -a "$program" "$home"

grep -v '^[[:space:]]*$' "$sentences" > "$out/sentences.txt"
$py - "$out/sentences.txt" > "$out/words.txt" <<'EOF'
import re, sys
seen = []
for line in open(sys.argv[1], encoding="utf-8"):
    for word in re.findall(r"[^\W\d_]+", line):
        if word.lower() not in seen:
            seen.append(word.lower())
print("\n".join(seen))
EOF

tamzel_cmd() {  # speed
  echo "\"$home/tamzel\" --home \"$home\" --speak \"\$TEXT\" --wav \"\$WAV\" --volume 10 --speed $1 --intonation 3"
}
espeak_cmd='espeak-ng -v sk -w "$WAV" "$TEXT"'

render() {  # command list outdir
  local cmd=$1 list=$2 dir=$3 i=0
  mkdir -p "$dir"
  while IFS= read -r line; do
    i=$((i + 1))
    TEXT=$line WAV=$dir/$(printf '%03d' $i).wav bash -c "$cmd" </dev/null >/dev/null 2>>"$out/render.log"
  done < "$list"
}

report_voice() {  # name command
  local name=$1 cmd=$2
  render "$cmd" "$out/sentences.txt" "$out/$name/sentences"
  render "$cmd" "$out/words.txt" "$out/$name/words"
  echo "== $name"
  $py "$here/measure.py" "$out/sentences.txt" "$out/$name/sentences" \
    "$out/$name/words" "$out/words.txt" | sed 's/^/  /'
  if [ "${ASR:-1}" != 0 ] && [ -x "$asr_dir/intelligibility.sh" ]; then
    "$asr_dir/intelligibility.sh" "$out/sentences.txt" "$cmd" "$out/$name/asr" \
      > "$out/$name/asr.log" 2>&1 || true
    grep -iE 'mean|forced|sentence_id|wer' "$out/$name/asr.log" | tail -4 | sed 's/^/  asr: /'
  fi
}

report_voice tamzel-65 "$(tamzel_cmd 65)"
report_voice tamzel-75 "$(tamzel_cmd 75)"
report_voice espeak-ng "$espeak_cmd"
echo "files: $out"
