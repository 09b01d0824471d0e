#!/usr/bin/env bash
# Installs what is missing, builds Titlewright and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTWR_BUILD_TESTS=OFF -DTWR_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target twr

TWR=$ROOT/build/release/src/cli/twr
OUT=$ROOT/out/labels
mkdir -p "$OUT"
cd examples
echo "Layouts in examples/twr.ini:"
"$TWR" layouts
count=$("$TWR" layouts | wc -l)
for ((i = 0; i < count; i++)); do
  "$TWR" render --layout "$i" \
    --title "Summer Holidays" --date "20260815" \
    --note "[Photos]  " --note "[Videos]  " --note "itinerary.pdf  " --note "readme.txt  " \
    --label "$OUT/label-$i.png" --preview "$OUT/preview-$i.png"
done
echo
echo "Rendered $count layouts: label-N.png (full size) and preview-N.png (600 x 600) in $OUT"
