#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed twr as a
# new user would: the first start makes the user's settings from the
# installed defaults, every default layout renders without a warning (its
# pictures are found beside the copy), and the man page, bash completion,
# desktop file, AppStream metainfo and the design's MIME type are sound, and a
# design saved by the installed twr renders to PDF.
# Usage: InstallTest.sh BUILD_DIR CMAKE SOURCE_DIR
set -euo pipefail
BUILD=$1
CMAKE=$2
SOURCE=$3
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

"$CMAKE" --install "$BUILD" --prefix "$TMP/prefix" > /dev/null
TWR=$TMP/prefix/bin/twr
mkdir -p "$TMP/home" "$TMP/work"
cd "$TMP/work"
export HOME=$TMP/home
unset XDG_CONFIG_HOME

"$TWR" --version | grep -qx "twr [0-9.]*[A-Z]*" || fail "--version"
"$TWR" layouts > layouts.txt 2> first.txt || fail "layouts on the first start: $(cat first.txt)"
grep -q "made your own settings file $HOME/.config/titlewright/twr.ini" first.txt ||
  fail "the first start says nothing of the copy: $(cat first.txt)"
[ "$(wc -l < layouts.txt)" -eq 6 ] || fail "six default layouts expected: $(cat layouts.txt)"
[ -f "$HOME/.config/titlewright/bg/aurora.png" ] || fail "the default pictures were not copied"
"$TWR" layouts 2> second.txt > /dev/null
[ ! -s second.txt ] || fail "the second start made the copy again: $(cat second.txt)"

for i in 0 1 2 3 4 5; do
  err=$("$TWR" render --layout "$i" --title "Installed" --note "[Photos]" \
    --preview "preview-$i.png" 2>&1 > /dev/null) ||
    fail "render --layout $i: $err"
  [ -z "$err" ] || fail "render --layout $i warned: $err"
done
# The virtual drive of the defaults burns, its picture beside the settings.
"$TWR" burn --yes --title "Installed" --inner 40 --outer 41 > burn.txt 2>&1 ||
  fail "burn: $(cat burn.txt)"
[ -f "$HOME/.config/titlewright/etched.png" ] || fail "no etched picture beside the settings"

MAN=$TMP/prefix/share/man/man1/twr.1.gz
gzip -t "$MAN" || fail "man page"
for section in NAME SYNOPSIS COMMANDS OPTIONS "JSON OUTPUT" "SETTINGS FILE" "EXIT STATUS"; do
  zcat "$MAN" | grep -q "^\.SH \"*$section" || fail "man page lacks $section"
done
! zcat "$MAN" | grep -q "@TWR_" || fail "man page keeps a placeholder"
# One version everywhere: the program's, the man page's, the package's and
# the metainfo's release all come from the project's.
VERSION=$("$TWR" --version | sed -n 's/^twr //p')
zcat "$MAN" | grep -q "\"Titlewright $VERSION\"" || fail "the man page is not of version $VERSION"
grep -q "^set(CPACK_PACKAGE_VERSION \"$VERSION\")" "$BUILD/CPackConfig.cmake" ||
  fail "the package is not of version $VERSION"
grep -q "<release version=\"$VERSION\" date=\"[0-9-]*\"/>" \
  "$BUILD/packaging/org.titlewright.Titlewright.metainfo.xml" ||
  fail "the metainfo's release is not $VERSION"
bash -n "$TMP/prefix/share/bash-completion/completions/twr" || fail "bash completion"

"$TWR" design save label.twrlabel --layout 2 --title "Installed {n}" > design.txt 2>&1 ||
  fail "design save: $(cat design.txt)"
"$TWR" render --design label.twrlabel --label label.pdf > design.txt 2>&1 ||
  fail "render --design: $(cat design.txt)"
MIME=$TMP/prefix/share/mime
[ -f "$MIME/packages/titlewright.xml" ] || fail "the design's MIME type is not installed"
if command -v update-mime-database > /dev/null; then
  update-mime-database "$MIME" 2> mime.txt || fail "MIME type: $(cat mime.txt)"
  grep -qx "application/x-titlewright-label:\*\.twrlabel" "$MIME/globs" ||
    fail "the MIME type does not claim *.twrlabel"
fi
# The window opens design files: the desktop file claims their type and
# hands the file over.
grep -qx "MimeType=application/x-titlewright-label;" "$SOURCE/packaging/titlewright.desktop" ||
  fail "the desktop file does not claim the design's MIME type"
grep -qx "Exec=titlewright %f" "$SOURCE/packaging/titlewright.desktop" ||
  fail "the desktop file does not pass the file to open"

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$SOURCE/packaging/titlewright.desktop" | grep -v "^.*hint:" &&
    fail "desktop file" || true
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$BUILD/packaging/org.titlewright.Titlewright.metainfo.xml" \
    > /dev/null || fail "metainfo"
fi
echo "install test passed"
