#!/usr/bin/env bash
# Keystroke to redrawn preview in the real window: opens titlewright on the
# example layouts on the X display in $DISPLAY (an Xvfb will do), clicks into the
# Title edit, types 20 letters one by one and times each from the key's
# sending to the preview's pixels changing (key_to_pixels). When the program
# logs its keystrokes and paints (TWR_PREVIEW_LOG), the times from the key's
# arrival to the preview's paint are printed as well.
# Usage: DISPLAY=:97 bench/ui/typing-latency.sh [PATH/TO/titlewright]
set -euo pipefail
ROOT=$(realpath "$(dirname "$0")/../..")
PROGRAM=$(realpath "${1:-$ROOT/build/test/src/app/titlewright}")
cd "$ROOT"
WORK=$(mktemp -d)
trap 'kill "$PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT

cc -O2 -o "$WORK/key_to_pixels" bench/ui/key_to_pixels.c -lX11 \
  /usr/lib/x86_64-linux-gnu/libXtst.so.6
cp -r examples "$WORK/examples"
cd "$WORK/examples"
TWR_PREVIEW_LOG=$WORK/preview.log "$PROGRAM" >"$WORK/out.txt" 2>&1 &
PID=$!
sleep 4 # the window opened and its drives found
WINDOW=$(xdotool search --onlyvisible --name '^Titlewright' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
# The Title edit, then the preview's well (window pixels).
xdotool mousemove $((X + 550)) $((Y + 107)) click 1
sleep 0.5
: >"$WORK/preview.log"
"$WORK/key_to_pixels" $((X + 14)) $((Y + 33)) 398 360 abcdefghijklmnopqrst
if [ -s "$WORK/preview.log" ]; then
  # Each key's arrival to the first paint of the preview after it.
  awk '$1 == "key" { if (key) missed++; key = $2 }
       $1 == "paint" && key { print ($2 - key) / 1000; key = 0 }' "$WORK/preview.log" |
    sort -n | awk '{ v[NR] = $1 } END {
      if (NR == 0) exit
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      r = int((NR * 95 + 99) / 100)
      printf "in the program, key to paint: %d keys, median %.1f ms, 95th percentile %.1f ms\n", NR, m, v[r] }'
fi
