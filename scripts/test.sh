#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the release build, the Debian package
# made from it and started from its installed paths, the sanitizer build (AddressSanitizer +
# UBSan) over the same suite, then every fuzz target's reproducers and a short run of each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for preset in release asan; do
  echo "== $preset: build"
  scripts/build.sh "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j "$(nproc)"
  if [[ $preset == release ]]; then
    echo "== latency: every tool's read, real CLI against the real virtual printer"
    python3 bench/latency/run_latency.py build/release
    echo "== package"
    scripts/package.sh --build build/release
  fi
done
echo "== fuzz"
scripts/fuzz.sh --ci 15
