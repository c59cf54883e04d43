#!/usr/bin/env bash
# Installs what is needed, builds the release preset and runs the main job: the GUI
# against the built-in virtual printer, or, without a display, a short command-line
# walk-through against it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/release/src/app/quillmark --demo
fi

cli=build/release/src/cli/quillmark-cli
step() {
  printf '\n$ quillmark-cli %s\n' "$*"
  "$cli" "$@"
}
echo "No display here: a walk-through of quillmark-cli against its built-in virtual printer."
step --demo query '^PI0'
step --demo query '^PI5,0\r\n'
step --demo --log send --count 2 examples/QDRF.txt
echo
echo "With a display, this command starts the GUI: build/release/src/app/quillmark --demo"
