#!/usr/bin/env bash
# Builds tests with AddressSanitizer + UndefinedBehaviorSanitizer (TAMZEL_SANITIZE=ON) in a
# build folder of their own and runs them; any sanitizer report fails the run.
#   scripts/sanitize.sh              engine, speech-text, profile and hardening tests
#   scripts/sanitize.sh all          the whole test suite (through ctest)
#   scripts/sanitize.sh TARGET...    the named test executables
# BUILD=<folder> picks the build folder (default build-harden-asan), JOBS the build jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-harden-asan}
JOBS=${JOBS:-2}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Qt and OpenAL keep some allocations for the life of the process; those are not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}

cmake -S . -B "$BUILD" -G Ninja -DTAMZEL_SANITIZE=ON -DTAMZEL_BENCH=OFF >/dev/null

if [ "${1:-}" = all ]; then
  cmake --build "$BUILD" -j"$JOBS"
  ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS"
  exit
fi

TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(engine_tests speech_tests profile_tests hardening_tests)
cmake --build "$BUILD" -j"$JOBS" --target "${TARGETS[@]}" brain_file speech_dictionary
failed=()
for t in "${TARGETS[@]}"; do
  exe=$(find "$BUILD/tests" -type f -name "$t" -perm -u+x | head -1)
  echo "== $t (ASan+UBSan)"
  if ! "$exe" --gtest_brief=1; then failed+=("$t"); fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Zlyhali: ${failed[*]}" >&2
  exit 1
fi
echo "Všetky testy so sanitizérmi prešli: ${TARGETS[*]}"
