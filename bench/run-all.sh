#!/usr/bin/env bash
# Runs every benchmark and writes docs/performance.md with the figures, the machine and
# the command. Builds in build-harden unless BUILD names another folder (its build type).
#   bench/run-all.sh            BUILD=<folder> JOBS=<n> may be set
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-harden}
JOBS=${JOBS:-2}
OUT=$BUILD/bench-results
BENCHES=(engine_bench script_bench brain_bench speech_bench playback_bench)

cmake -S . -B "$BUILD" -G Ninja -DTAMZEL_BENCH=ON >/dev/null
cmake --build "$BUILD" -j"$JOBS" --target "${BENCHES[@]}" program_folder tamzel
mkdir -p "$OUT"
OUT=$(realpath "$OUT")
export TAMZEL_HOME=$(realpath "$BUILD/tamzel")

for b in "${BENCHES[@]}"; do
  exe=$(realpath "$(find "$BUILD" -type f -name "$b" -perm -u+x | head -1)")
  echo "== $b"
  # One run per benchmark family: the CSV output wants the same counters on every line.
  : >"$OUT/$b.csv"
  for family in $(cd "$TAMZEL_HOME" && "$exe" --benchmark_list_tests | cut -d/ -f1 | sort -u); do
    (cd "$TAMZEL_HOME" && "$exe" --benchmark_format=csv --benchmark_min_time=0.5 \
      --benchmark_filter="^$family(/|\$)" | tail -n +2 >>"$OUT/$b.csv" 2>>"$OUT/$b.err") ||
      echo "   $b $family failed, see $OUT/$b.err"
  done
done

# Start-up to the first paint: the program starts under a virtual X server until its main
# window is mapped, five times; the median counts.
startup_ms() {
  local home=$1 dir times=() t
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "-"; return; }
  for i in 1 2 3 4 5; do
    dir=$(mktemp -d); cp -r "$home/." "$dir/"
    Xvfb :77 -screen 0 1280x1024x24 >/dev/null 2>&1 & local xpid=$!
    sleep 1
    local start=$(date +%s%N)
    DISPLAY=:77 QT_QPA_PLATFORM=xcb "$dir/tamzel" --home "$dir" --user Bench >/dev/null 2>&1 & local tpid=$!
    DISPLAY=:77 timeout 30 xdotool search --sync --onlyvisible --pid $tpid >/dev/null 2>&1 || true
    t=$(( ($(date +%s%N) - start) / 1000000 ))
    kill $tpid 2>/dev/null; wait $tpid 2>/dev/null || true
    kill $xpid; wait $xpid 2>/dev/null || true
    rm -rf "$dir"
    times+=("$t")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
STARTUP=$(startup_ms "$TAMZEL_HOME")

# One table row per benchmark line of the CSV output (header: name,iterations,real_time,
# cpu_time,time_unit,...).
rows() {
  awk -F, -v bench="$1" '$1 ~ /^"/ && $1 !~ /_cv"$/ {
      gsub(/"/, "", $1); printf "| %s | %s | %.3g %s | %.3g %s |\n", bench, $1, $3, $5, $4, $5 }' "$OUT/$1.csv"
}

{
  echo "# Performance"
  echo
  echo "Measured with \`bench/run-all.sh\` ($(grep -m1 CMAKE_BUILD_TYPE:STRING "$BUILD/CMakeCache.txt" | cut -d= -f2) build in \`$BUILD\`, each benchmark at least"
  echo "0.5 s, working folder = the built program folder). Figures are wall time (real) and"
  echo "CPU time per iteration."
  echo
  echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
       "$(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo) RAM, $(uname -sr);" \
       "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg) (the machine is shared, so"
  echo "figures vary)."
  echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC'). Commit: $(git rev-parse --short HEAD)."
  echo
  echo "| program | benchmark | real | CPU |"
  echo "| --- | --- | --- | --- |"
  for b in "${BENCHES[@]}"; do [ -s "$OUT/$b.csv" ] && rows "$b"; done
  echo "| tamzel | start-up to the first paint (median of 5, Xvfb) | ${STARTUP} ms | - |"
  echo
  echo "What the names mean:"
  echo
  echo "- \`AnswerSentenceTurn/N\`: one turn of the engine over a generated brain of N records."
  echo "- \`LoadBrainFile\`: reading a brain file of 10,000 records."
  echo "- \`BM_ExpandFiftyTags\`: expanding a text with fifty script tags."
  echo "- \`BM_TurnReadingTwentyWritingFive\`: a turn that reads twenty memory values and writes five."
  echo "- \`BM_AnswerSentence\`: one turn with the shipped brain."
  echo "- \`BM_PrepareSpeechText\`: a 200-character answer to the unit string and contour."
  echo "- \`SpeakToFirstUnit\`: from an answer to the first sound unit started (first-sound latency)."
  echo "- \`IdleTick\`, \`WaitingTick\`, \`PollingWhileSpeaking\`: playback polling costs."
  echo "- \`OfflineRender/N\`: rendering speech without a device at speed N."
  echo "- Start-up: from starting \`tamzel\` to its main window being mapped on the X server."
} >docs/performance.md
echo "Zapísané: docs/performance.md"
