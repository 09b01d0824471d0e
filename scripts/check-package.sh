#!/usr/bin/env bash
# Checks a Titlewright .deb: its dependencies are runtime packages only (the
# libraries it links, fonts, image format plugins; nothing to build or test
# with), it holds the program, the default layouts with their pictures, the
# man page and the bash completion and nothing of the build, and the program
# it holds runs from the unpacked tree and makes a new user's settings.
#   check-package.sh FILE.deb            with dpkg-deb
#   check-package.sh --chroot FILE.deb   installed with apt into a fresh
#                                        debootstrap chroot of this release
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }

CHROOT=0
if [ "${1:-}" = "--chroot" ]; then CHROOT=1; shift; fi
DEB=$(realpath "${1:?usage: $0 [--chroot] FILE.deb}")
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

run_as_user() {  # run_as_user ROOT TWR: a new user's first start
  local twr=$1
  mkdir -p "$TMP/home" "$TMP/work"
  (cd "$TMP/work" && HOME=$TMP/home XDG_CONFIG_HOME= "$twr" layouts) > "$TMP/layouts.txt" 2> /dev/null ||
    fail "twr layouts on the first start"
  [ "$(wc -l < "$TMP/layouts.txt")" -eq 6 ] || fail "six layouts expected"
  # Layout 0 over its own burning area: a label with nothing to warn about.
  local said
  said=$(cd "$TMP/work" && HOME=$TMP/home "$twr" render --layout 0 --title Packaged \
    --etched etched.png 2>&1 > /dev/null) || fail "render failed: $said"
  [ -z "$said" ] || fail "render warned: $said"
  [ -f "$TMP/work/etched.png" ] || fail "no etched picture"
}

if [ "$CHROOT" -eq 0 ]; then
  DEPENDS=$(dpkg-deb --field "$DEB" Depends)
  echo "Depends: $DEPENDS"
  for wanted in libc6 libstdc++6 libqt6gui6 libqt6core6 libiso9660 libcdio libqrencode fonts-liberation2 \
    fonts-dejavu-core qt6-image-formats-plugins qt6-wayland; do
    grep -q "$wanted" <<< "$DEPENDS" || fail "Depends lacks $wanted"
  done
  for unwanted in -dev googletest gtest gmock benchmark clang g++ cmake ninja xorriso strace; do
    ! grep -q -- "$unwanted" <<< "$DEPENDS" || fail "Depends names $unwanted"
  done
  [ "$(dpkg-deb --field "$DEB" Package)" = titlewright ] || fail "package name"

  dpkg-deb --contents "$DEB" | awk '{print $6}' > "$TMP/contents.txt"
  for wanted in ./usr/bin/twr ./usr/share/titlewright/twr.ini ./usr/share/titlewright/bg/aurora.png \
    ./usr/share/titlewright/bg/paper.jpg ./usr/share/titlewright/bg/dots.gif \
    ./usr/share/titlewright/bg/rings.bmp ./usr/share/man/man1/twr.1.gz \
    ./usr/share/bash-completion/completions/twr ./usr/share/mime/packages/titlewright.xml; do
    grep -qx -- "$wanted" "$TMP/contents.txt" || fail "the package lacks $wanted"
  done
  ! grep -E "test|bench|fuzz|\.a$|/include/" "$TMP/contents.txt" || fail "build files in the package"
  if grep -qx ./usr/bin/titlewright "$TMP/contents.txt"; then
    for wanted in ./usr/share/applications/titlewright.desktop \
      ./usr/share/metainfo/org.titlewright.Titlewright.metainfo.xml ./usr/share/man/man1/titlewright.1.gz \
      ./usr/share/titlewright/templates/1-plain-title.twrlabel \
      ./usr/share/titlewright/templates/6-rimtone-band.twrlabel; do
      grep -qx -- "$wanted" "$TMP/contents.txt" || fail "the package lacks $wanted"
    done
  fi

  dpkg-deb --extract "$DEB" "$TMP/root"
  run_as_user "$TMP/root/usr/bin/twr"
  echo "Package checked: $(basename "$DEB"), $(wc -l < "$TMP/contents.txt") entries"
  exit 0
fi

# A fresh system of this release, the package installed with its dependencies.
command -v debootstrap > /dev/null || {
  echo "Installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}
[ "$(id -u)" -eq 0 ] || fail "--chroot needs root"
. /etc/os-release
MIRROR=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list \
  2> /dev/null | grep -v "^[[:space:]]*#" | grep -oE "https?://[^ ]+/debian/?( |$)" | head -n1 |
  tr -d ' ' || true)
MIRROR=${MIRROR:-http://deb.debian.org/debian}
SYSTEM=$TMP/system
debootstrap --variant=minbase "$VERSION_CODENAME" "$SYSTEM" "$MIRROR" > "$TMP/debootstrap.log" ||
  fail "debootstrap (see $TMP/debootstrap.log)"
cp "$DEB" "$SYSTEM/tmp/titlewright.deb"
mount --bind /proc "$SYSTEM/proc"
trap 'umount "$SYSTEM/proc" 2> /dev/null; rm -rf "$TMP"' EXIT
chroot "$SYSTEM" apt-get update -qq
DEBIAN_FRONTEND=noninteractive chroot "$SYSTEM" apt-get install -y -qq --no-install-recommends \
  /tmp/titlewright.deb > "$TMP/install.log" || fail "apt-get install (see $TMP/install.log)"
chroot "$SYSTEM" sh -c 'mkdir -p /tmp/u/work && cd /tmp/u/work && HOME=/tmp/u twr layouts' |
  grep -q "^5	Slate" || fail "twr layouts in the chroot"
chroot "$SYSTEM" sh -c 'cd /tmp/u/work && HOME=/tmp/u twr render --title Chroot --etched e.png' \
  > /dev/null || fail "twr render in the chroot"
echo "Installed and ran in a fresh $PRETTY_NAME chroot."
