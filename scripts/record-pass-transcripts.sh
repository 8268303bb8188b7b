#!/usr/bin/env bash
# Records the reference transcripts of the rule pass (tests/differential/golden) with the
# engine of the build folder: only after a deliberate change of what the pass answers, and
# review `git diff` of the transcripts before committing them.
#   scripts/record-pass-transcripts.sh [BUILD]        (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
cmake --build "$BUILD" -j2 --target pass-transcripts
TAMZEL_SOURCE_DIR=$PWD "$(find "$BUILD" -type f -name pass-transcripts -perm -u+x | head -1)" \
  tests/differential/golden
