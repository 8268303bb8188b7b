#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds Tamzel, then starts it or runs every test.
#   ./tamzel.sh start [program options]   build and start the program
#   ./tamzel.sh test                      build and run all tests
#   ./tamzel.sh deb                       build the Debian package tamzel_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  qt6-base-dev libopenal-dev libturbojpeg0-dev
  qt6-translations-l10n
  python3 xvfb xauth xdotool desktop-file-utils appstream)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Inštalujem chýbajúce balíky: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}

cmd=${1:-start}
[ $# -gt 0 ] && shift
case "$cmd" in
  start)
    install_missing
    build build
    exec build/tamzel/tamzel "$@"
    ;;
  test)
    install_missing
    build build
    # The engine, speech-text, profile and hardening tests under ASan + UBSan first
    # (TAMZEL_SANITIZE_TESTS=0 leaves them out), then every test, so that ctest's summary
    # closes the run.
    [ "${TAMZEL_SANITIZE_TESTS:-1}" = 0 ] || BUILD=build-asan scripts/sanitize.sh
    ctest --test-dir build --output-on-failure -j2
    ;;
  deb)
    install_missing
    # A build of its own without tests and benchmarks, with Debian's hardening flags (as
    # dpkg-buildpackage would give them); the package lands in this folder.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    cmake -S . -B build-deb -G Ninja -DTAMZEL_TESTS=OFF -DTAMZEL_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
    cmake --build build-deb --target package
    cp build-deb/tamzel_*_amd64.deb .
    ls tamzel_*_amd64.deb
    ;;
  *)
    echo "Použitie: $0 start [voľby programu] | $0 test | $0 deb" >&2
    exit 2
    ;;
esac
