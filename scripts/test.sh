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
# The day's longer rotation gets what is left of a 25-minute run after the rest of the fuzz
# step (about 150 s), at most its usual 180 s, so a slow machine still ends well within CI's
# 30 minutes. A rotation asked for by name keeps its length.
if [[ -z ${QUILLMARK_FUZZ_ROTATION:-} ]]; then
  left=$((1500 - SECONDS - 150))
  QUILLMARK_FUZZ_ROTATION=$((left < 0 ? 0 : left > 180 ? 180 : left))
  echo "fuzz: ${SECONDS} s in; the rotation runs ${QUILLMARK_FUZZ_ROTATION} s"
  export QUILLMARK_FUZZ_ROTATION
fi
scripts/fuzz.sh --ci 15
