#!/usr/bin/env bash
# Builds the Debian package from a clean clone of the current commit (work
# not committed is not in it), checks its contents and dependencies, and
# leaves it in out/package/. With --chroot it is also installed into a fresh
# Debian chroot made with debootstrap (minutes and a download of a few
# hundred megabytes) and run there.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
CHROOT=0
for arg in "$@"; do
  case $arg in
    --chroot) CHROOT=1 ;;
    *) echo "usage: $0 [--chroot]" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh --package
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "Note: changes not committed are not packaged."

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
git clone -q --no-checkout "$ROOT" "$WORK/src"
git -C "$WORK/src" checkout -q "$(git rev-parse HEAD)"
cmake -S "$WORK/src" -B "$WORK/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DTWR_BUILD_TESTS=OFF -DTWR_BUILD_BENCH=OFF > /dev/null
cmake --build "$WORK/build" -j "${JOBS:-$(nproc)}"
(cd "$WORK/build" && cpack -G DEB > /dev/null)

mkdir -p out/package
rm -f out/package/*.deb
cp "$WORK"/build/*.deb out/package/
DEB=$(ls "$ROOT"/out/package/*.deb)
bash scripts/check-package.sh "$DEB"
if [ "$CHROOT" -eq 1 ]; then
  bash scripts/check-package.sh --chroot "$DEB"
fi
echo "Package: $DEB"
