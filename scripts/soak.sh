#!/usr/bin/env bash
# Soak runs.
#   scripts/soak.sh console [turns]   the soak test's conversation (default 20,000 turns) in
#                                     the normal build, then 2,000 turns under valgrind
#   scripts/soak.sh gui [seconds]     the window program under Xvfb for 600 s (default) with
#                                     the pointer moved over it now and then (hover turns)
#                                     and quiet spells (idle turns); resident memory sampled
# BUILD=<folder> (default build-harden). Figures go to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-harden}
mode=${1:-console}

console() {
  local turns=${1:-20000}
  cmake --build "$BUILD" --target hardening_tests -j2 >/dev/null
  local exe=$BUILD/tests/hardening/hardening_tests
  echo "== $turns turns"
  TAMZEL_SOAK_TURNS=$turns /usr/bin/time -f "wall %e s, peak resident %M kB" "$exe" --gtest_filter='Soak.*'
  if command -v valgrind >/dev/null; then
    echo "== 2000 turns under valgrind"
    TAMZEL_SOAK_TURNS=2000 valgrind --leak-check=full --errors-for-leak-kinds=definite,indirect \
      --error-exitcode=9 --quiet "$exe" --gtest_filter='Soak.*'
  fi
}

gui() {
  local seconds=${1:-600}
  cmake --build "$BUILD" --target tamzel -j2 >/dev/null
  local dir; dir=$(mktemp -d)
  cp -r "$BUILD/tamzel/." "$dir/"
  Xvfb :78 -screen 0 1280x1024x24 >/dev/null 2>&1 & local xpid=$!
  sleep 1
  DISPLAY=:78 QT_QPA_PLATFORM=xcb "$dir/tamzel" --home "$dir" --user Soak >"$dir/soak.log" 2>&1 &
  local tpid=$!
  local win; win=$(DISPLAY=:78 timeout 30 xdotool search --sync --onlyvisible --pid $tpid | head -1)
  local start; start=$(date +%s)
  local first="" highest=0 rss
  while [ $(( $(date +%s) - start )) -lt "$seconds" ]; do
    kill -0 $tpid 2>/dev/null || { echo "the program ended early (see $dir/soak.log)"; break; }
    # Over the window for a moment (hover), then away and quiet (idle).
    DISPLAY=:78 xdotool mousemove --window "$win" 200 200 2>/dev/null || true
    sleep 5
    DISPLAY=:78 xdotool mousemove 1270 1010 2>/dev/null || true
    sleep 10
    rss=$(awk '/VmRSS/ {print $2}' /proc/$tpid/status 2>/dev/null || echo 0)
    [ -z "$first" ] && [ $(( $(date +%s) - start )) -ge 60 ] && first=$rss
    [ "$rss" -gt "$highest" ] && highest=$rss
    echo "t=$(( $(date +%s) - start ))s resident=${rss} kB"
  done
  kill $tpid 2>/dev/null; wait $tpid 2>/dev/null || true
  kill $xpid; wait $xpid 2>/dev/null || true
  echo "resident after the first minute: ${first} kB, highest: ${highest} kB"
  echo "records written: $(wc -l <"$dir/zaznamy/zaznamy.txt" 2>/dev/null || echo 0) lines"
  rm -rf "$dir"
}

case "$mode" in
  console) console "${2:-}" ;;
  gui) gui "${2:-}" ;;
  *) echo "Použitie: $0 console [ťahy] | gui [sekundy]" >&2; exit 2 ;;
esac
