#!/usr/bin/env bash
# Installs what is missing, builds Titlewright and runs its main job. With a
# display, the window program opens on a sample label of the example
# layouts with the virtual drive, paced so that a Draft burn of a layout
# takes under a minute and its progress can be watched. Without one, the command-line demo runs instead:
# the example layouts are rendered, then one label is burned onto the virtual
# drive, which draws the etched disc.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTWR_BUILD_TESTS=OFF -DTWR_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target twr titlewright

TWR=$ROOT/build/release/src/cli/twr
TITLEWRIGHT=$ROOT/build/release/src/app/titlewright
DEMO=$ROOT/out/demo
rm -rf "$DEMO"
mkdir -p "$ROOT/out"
cp -r examples "$DEMO"
cd "$DEMO"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The drive's real rate takes almost seven minutes for the whole band at
  # Draft; eight times that rate brings it under a minute.
  printf 'Pace=8\n' >> twr.ini
  # A sample label with its texts filled, on the first example layout.
  "$TWR" design save sample.twrlabel --layout 0 --area auto --title "Summer Holidays" \
    --date "2026-08-15" --note "[Photos]" --note "[Videos]" --note "itinerary.pdf" >/dev/null
  echo "== Opening Titlewright on a sample label in $DEMO"
  echo "   Change its texts (or start from a template: File > New, Ctrl+N), press"
  echo "   Burn, then Draw; the virtual drive draws the etched disc into"
  echo "   $DEMO/etched.png. F1 opens the help. The virtual drive runs at"
  echo "   eight times a real drive's rate; the times shown are a real drive's."
  exec "$TITLEWRIGHT" sample.twrlabel
fi

TITLE="Summer Holidays"
DATE="20260815"
NOTES=(--note "[Photos]  " --note "[Videos]  " --note "itinerary.pdf  " --note "readme.txt  ")

echo "== Layouts in twr.ini"
"$TWR" layouts
count=$("$TWR" layouts | wc -l)
mkdir -p labels
for ((i = 0; i < count; i++)); do
  "$TWR" render --layout "$i" --title "$TITLE" --date "$DATE" "${NOTES[@]}" \
    --label "labels/label-$i.png" --preview "labels/preview-$i.png" >/dev/null
done
echo "Rendered $count layouts: $DEMO/labels/label-N.png (full size), preview-N.png (600 x 600)"
"$TWR" render --layout 0 --title "$TITLE" --date "$DATE" "${NOTES[@]}" \
  --etched labels/etched-0.png >/dev/null
echo "Simulated the etch of layout 0 at Draft, without a drive: $DEMO/labels/etched-0.png"

echo
echo "== Drives"
"$TWR" drives
echo
echo "== Disc in the virtual drive"
"$TWR" disc --drive V
echo
echo "== Burning layout 0 at Draft onto the virtual drive"
"$TWR" burn --drive V --layout 0 --title "$TITLE" --date "$DATE" "${NOTES[@]}" --quality draft --yes
echo
echo "The etched disc, as the virtual drive saw the burn: $DEMO/etched.png"
