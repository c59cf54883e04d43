#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quillmark needs.
# Safe to run again: it asks apt-get only for what is missing.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config python3
  # a faster linker for the many test programs
  lld
  # fuzzing (scripts/fuzz.sh): clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # command line
  libcli11-dev
  # settings profiles: JSON
  nlohmann-json3-dev
  # GUI: Qt 6 Widgets, Linguist tools for the translations, Qt's own Japanese texts (the
  # file dialogs), a CJK font for Japanese, and a virtual display for screenshots
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  qt6-translations-l10n fonts-noto-cjk xvfb xauth
  # label renderer: glyphs, barcodes, PNG output, a Latin font; a barcode reader and the
  # barcode command-line tool to check and compare it
  libfreetype-dev libzint-dev libpng-dev fonts-dejavu-core libzxing-dev zint
  # label renderer: the stored PCX images
  libsdl2-image-dev
  # label renderer: PDF pages at true size, and pdfinfo to read their size back in the tests
  libcairo2-dev poppler-utils
  # print-queue diversion and the virtual printer's --forward: libcups, and a CUPS server with
  # lpadmin for their tests
  libcups2-dev cups-daemon cups-client
  # the Debian package (scripts/package.sh): manual pages, icons, the package's checks, and
  # what the installed programs are checked with
  help2man librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
  bash-completion man-db bsdextrautils systemd
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
