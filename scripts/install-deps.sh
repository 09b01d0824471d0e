#!/usr/bin/env bash
# Installs the Debian packages Titlewright needs, when missing.
#   install-deps.sh            to build and run it (scripts/run.sh)
#   install-deps.sh --test     also to test it (scripts/test.sh): GoogleTest,
#                              Google Benchmark, clang for fuzzing, clang-format
#                              and clang-tidy, xorriso, strace, validators, an X
#                              server with xdotool and ImageMagick for the
#                              window test, weston for the Wayland check, a
#                              private D-Bus with Debian's python3-dbus for the
#                              stand-in udisks2, poppler-utils to read exported
#                              PDFs, zbar-tools to read QR codes back from
#                              etched pictures, a German locale
#   install-deps.sh --package  also to build the .deb (scripts/package.sh)
set -euo pipefail

# make for CMake's default generator; qt6-l10n-tools for lrelease and lupdate.
BUILD=(
  g++ make cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-l10n-tools libfontconfig-dev zlib1g-dev
  libiso9660-dev libcdio-dev libudev-dev libqrencode-dev
)
# qt6-translations-l10n: Qt's own texts (standard buttons) in the user's language.
RUNTIME=(fonts-liberation2 fonts-dejavu-core qt6-image-formats-plugins qt6-wayland qt6-translations-l10n)
TEST=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xorriso clang libclang-rt-14-dev clang-format clang-tidy strace locales
  appstream desktop-file-utils shared-mime-info poppler-utils
  xvfb xdotool imagemagick zbar-tools
  weston dbus python3-dbus python3-gi
)
PACKAGE=(dpkg-dev git)
# Numbers must read and write the same under this locale.
TEST_LOCALE=de_DE.UTF-8

PACKAGES=("${BUILD[@]}" "${RUNTIME[@]}")
WITH_TEST=0
for arg in "$@"; do
  case $arg in
    --test) PACKAGES+=("${TEST[@]}"); WITH_TEST=1 ;;
    --package) PACKAGES+=("${PACKAGE[@]}") ;;
    *) echo "usage: $0 [--test] [--package]" >&2; exit 2 ;;
  esac
done

SUDO=""
need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo > /dev/null || { echo "Run as root to $1" >&2; exit 1; }
    SUDO=sudo
  fi
}

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root "install: ${missing[*]}"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$WITH_TEST" -eq 1 ] && ! locale -a 2> /dev/null | grep -qix "${TEST_LOCALE/UTF-8/utf8}"; then
  need_root "make the locale $TEST_LOCALE"
  echo "Making the locale $TEST_LOCALE"
  $SUDO localedef -i "${TEST_LOCALE%%.*}" -f UTF-8 "$TEST_LOCALE"
fi
exit 0
