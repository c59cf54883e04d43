#!/usr/bin/env bash
# Installs what is needed, builds the release preset and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
# Until the front ends land, the main job is the link's round-trip benchmark
# against in-process printers over TCP and a pseudo-terminal.
exec build/release/bench/quillmark-bench-link --benchmark_min_time=0.2
