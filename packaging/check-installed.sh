#!/usr/bin/env bash
# Checks an installed Quillmark: run by scripts/package.sh inside a root that holds the
# package's files and the system's libraries, and nothing of the build. Every check runs;
# the status is 1 if any failed.
set -uo pipefail
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/run
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
failed=0

# check NAME EXPECTED_TEXT COMMAND...: the command succeeds and its output holds the text.
check() {
  local name=$1 expect=$2 out
  shift 2
  if out=$("$@" 2>&1) && [[ $out == *"$expect"* ]]; then
    echo "ok    $name"
  else
    echo "FAIL  $name: $* said:"
    printf '%s\n' "$out" | head -20 | sed 's/^/      /'
    failed=1
  fi
}

version=$(dpkg-query --admindir=/var/lib/dpkg -W -f='${Version}' quillmark)
version=${version%-*}

echo "-- the programs start from their installed paths"
check "quillmark-cli is /usr/bin's" /usr/bin/quillmark-cli command -v quillmark-cli
check "quillmark-cli --help" "Usage: quillmark-cli" quillmark-cli --help
check "quillmark-cli --version" "quillmark-cli $version" quillmark-cli --version
check "quillmark-cli --demo info" "Firmware Version :" quillmark-cli --demo info
check "quillmark-printer --help" "Usage: quillmark-printer" quillmark-printer --help
check "quillmark-printer --version" "quillmark-printer $version" quillmark-printer --version
check "quillmark --help" "--demo" quillmark --help
check "quillmark --version" "$version" quillmark --version

echo "-- the installed printer answers the installed CLI, started as its user unit starts it"
# The unit's own command line, with the instance a free port and the state folder here.
unit=/usr/lib/systemd/user/quillmark-printer@.service
mkdir -p -m 700 /tmp/state/quillmark-printer
read -ra start <<<"$(sed -n 's/^ExecStart=//p' "$unit" | sed 's/%i/0/g; s|%S|/tmp/state|g')"
"${start[@]}" >/tmp/printer.out 2>&1 &
printer=$!
address=
for _ in $(seq 100); do
  address=$(sed -n 's/^listening on //p' /tmp/printer.out)
  [[ -n $address ]] && break
  sleep 0.1
done
check "quillmark-cli info from quillmark-printer" "Model Name :" quillmark-cli --port "tcp://$address" info
kill "$printer"
wait "$printer"
check "the printer kept its state file" '"model"' cat /tmp/state/quillmark-printer/0.json

echo "-- desktop entry, icons and AppStream data"
check "desktop entry" "" desktop-file-validate /usr/share/applications/quillmark.desktop
check "desktop entry: Japanese name" "Name[ja]=" cat /usr/share/applications/quillmark.desktop
check "AppStream metadata" "Validation was successful" \
  appstreamcli validate --no-net /usr/share/metainfo/io.github.quillmark.Quillmark.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
  check "icon ${size}x${size}" "${size} x ${size}" file "/usr/share/icons/hicolor/${size}x${size}/apps/quillmark.png"
done
check "scalable icon" "SVG" file /usr/share/icons/hicolor/scalable/apps/quillmark.svg

echo "-- manual pages, completion, udev rule, user unit, Debian files"
for page in quillmark quillmark-cli quillmark-printer; do
  check "man page $page" "/usr/share/man/man1/$page.1.gz" man -w "$page"
  check "man page $page has its options" "--help" sh -c "zcat /usr/share/man/man1/$page.1.gz | man -l - 2>/dev/null | col -b"
done
check "udev rule" 'GROUP="dialout"' cat /usr/lib/udev/rules.d/60-quillmark.rules
check "user unit" "" systemd-analyze verify --user quillmark-printer@9100.service
# The unit's sandbox: systemd's exposure score (0 to 10) must stay below 3.
exposure=$(systemd-analyze security --offline=yes "$unit" 2>&1 | sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
echo "      user unit exposure: ${exposure:-unknown}"
check "user unit exposure below 3" "sandboxed" \
  awk -v e="$exposure" 'BEGIN { if (e != "" && e + 0 < 3) print "sandboxed"; else exit 1 }'
check "copyright" "Upstream-Name: Quillmark" cat /usr/share/doc/quillmark/copyright
check "Debian changelog" "quillmark ($version-1)" zcat /usr/share/doc/quillmark/changelog.Debian.gz

# complete WORDS...: what bash completion offers for the last word of the line.
complete_line() {
  bash -c 'source /usr/share/bash-completion/bash_completion
           source /usr/share/bash-completion/completions/quillmark-cli
           COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
           COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
           _quillmark_cli; printf "%s\n" "${COMPREPLY[*]}"' complete "$@"
}
# A flag whose help names what it excludes takes no value, so the word after it is read.
check "completion: --all is a flag" "flag" bash -c 'source /usr/share/bash-completion/completions/quillmark-cli
  _quillmark_cli_values "codepage-test|--all"; [[ $? -eq 1 ]] && echo flag'
while IFS='|' read -r line expect; do
  read -ra words <<<"$line"
  [[ $line == *" " ]] && words+=("")
  check "completion of '$line'" "$expect" complete_line "${words[@]}"
done <<'EOF'
quillmark-cli ser|serial
quillmark-cli serial |get set
quillmark-cli rfid config |get set reset-counters calibrate
quillmark-cli --parity |none odd even
quillmark-cli serial set --parity |even odd
quillmark-cli --port LP|LPT1: LPT2: LPT3: LPT4:
quillmark-cli --port COM1: status c|cp cu cps
quillmark-cli query --until |quiet text line count
quillmark-cli query --tc|--tcp-port
quillmark-cli line text --rotation |0 90 180 270
EOF

exit "$failed"
