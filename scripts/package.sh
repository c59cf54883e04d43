#!/usr/bin/env bash
# Builds the Debian package in build/package (a release build of the three programs, no
# tests), or with `--build DIR` from a release build already made there, checks it with lintian, appstreamcli and desktop-file-validate, installs it with
# dpkg into an empty root and starts the installed programs there.
#
# The installed programs run inside a root of their own: a private mount namespace whose
# /usr is the package's files laid over this machine's /usr (for the libraries the package
# depends on), with no build or source folder in sight. What starts there starts from its
# installed paths alone. Needs root (or sudo) for dpkg --root, the namespace and the mounts.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "package: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi

build=build/package
if [[ ${1:-} == --build ]]; then
  # A release build that already holds the programs (CI's): only the package's own files are
  # added to it, instead of building the programs a second time. Its tests are not installed.
  [[ -f ${2:-}/CMakeCache.txt ]] || { echo "package: --build needs a configured build folder" >&2; exit 2; }
  build=$2
  cmake -S . -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DQUILLMARK_PACKAGE=ON >/dev/null
else
  scripts/install-deps.sh
  # Release build of the three programs only; linked read-only-after-start as Debian's are.
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF -DQUILLMARK_BUILD_GUI=ON -DQUILLMARK_PACKAGE=ON \
    "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro,-z,now" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/quillmark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/quillmark_*.deb)
deb=${debs[0]}
[[ ${#debs[@]} -eq 1 && -f $deb ]] || { echo "package: cpack made no single .deb" >&2; exit 1; }
deb=$(realpath "$deb")  # apt takes a file only by a path it cannot mistake for a name
echo "== package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
dpkg-deb --contents "$deb"

echo "== lintian"
# Errors fail; warnings and notes are shown.
lintian --fail-on error --display-info "$deb"

echo "== dependencies resolve on this system"
"${sudo[@]}" apt-get install --simulate -q "$deb" | grep -E '^(Inst|Conf) quillmark ' \
  || { echo "package: apt cannot install it here" >&2; exit 1; }

echo "== install into an empty root"
work=$(mktemp -d)
cleanup() { "${sudo[@]}" rm -rf "$work"; }
trap cleanup EXIT
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# The root's own package database is empty, so its dependencies are the host's to give
# (checked above), not the root's.
"${sudo[@]}" dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends -i "$deb"
"${sudo[@]}" dpkg --root="$root" -s quillmark | grep -q '^Status: install ok installed'

echo "== start the installed programs in a root of their own"
for p in quillmark quillmark-cli quillmark-printer; do
  if [[ -e /usr/bin/$p ]]; then
    echo "package: /usr/bin/$p exists on this machine and would hide a missing file; remove it first" >&2
    exit 1
  fi
done
cp packaging/check-installed.sh "$work/check-installed.sh"
"${sudo[@]}" unshare --mount --propagation private bash -euo pipefail -c '
  work=$1 root=$1/root new=$1/new
  mkdir -p "$new"/{usr,etc,dev,proc,tmp,run}
  # The package first, then the system: a read-only /usr of both.
  mount -t overlay overlay -o "lowerdir=$root/usr:/usr" "$new/usr"
  for d in bin sbin lib lib32 lib64 libx32; do
    if [[ -L /$d ]]; then ln -s "$(readlink "/$d")" "$new/$d"
    elif [[ -d /$d ]]; then mkdir "$new/$d"; mount --bind "/$d" "$new/$d"; fi
  done
  mount --rbind /etc "$new/etc"
  mount --rbind /dev "$new/dev"
  mount -t proc proc "$new/proc"
  mount -t tmpfs tmpfs "$new/tmp"
  mount -t tmpfs tmpfs "$new/run"
  mkdir -p "$new/var"; mount --bind "$root/var" "$new/var"
  cp "$work/check-installed.sh" "$new/tmp/"
  exec chroot "$new" /usr/bin/env -i PATH=/usr/bin HOME=/tmp LANG=C.UTF-8 bash /tmp/check-installed.sh
' package "$work"

echo "== package: $deb passed its checks in $((SECONDS - start)) s"
