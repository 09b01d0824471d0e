#!/usr/bin/env bash
# The layout designer of the real titlewright on an X server (Xvfb), driven
# with xdotool: type a title, open the designer with Ctrl+E, drag the title
# box to another place on the disc, save, close the designer and the
# program; then `twr layout show` prints the new corner and `twr render`
# draws the title box there (pixel probes), not where it was.
# Usage: designer_drag.sh TITLEWRIGHT TWR ARTEFACT_DIR
# Exit 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail
trap 'echo "designer_drag.sh: failed at line $LINENO" >&2' ERR
TITLEWRIGHT=$1 TWR=$2 OUT=$3
source "$(dirname "$0")/xvfb_session.sh"
begin_window_run Xvfb xdotool import convert

# One layout: a white title box on the black label, nothing else to snap to.
cat >"$WORK/twr.ini" <<'INI'
; The designer's end-to-end test.
[Templates]
Offered=1
[Config]
LayoutNum=1
Font=Liberation Sans

[Layout00]
Name=Designer end to end
BaseLength=1655
BgColor=255
TxColor=0
TitleWidth=900
TitleHeight=160
TitlePosX=378
TitlePosY=200
TitleMaxNum=32
TitleAlign=1
RingType=0
RingLength=0
InnerRadius=25
OuterRadius=58

[VirtualDrive]
Letter=V
Disc=label
ReloadDelay=0
INI
cp "$WORK/twr.ini" "$WORK/before.ini"

start_xvfb 1400x1000x24

probe() {  # picture x y -> the grey there (0 to 255)
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)]" info:
}

(cd "$WORK" && exec "$TITLEWRIGHT") &
APP_PID=$!
MAIN=$(wait_window '^Titlewright  Version')
wait_text "$MAIN" 200x14+434+15
xdotool mousemove --window "$MAIN" 520 107 click 1   # the title edit
xdotool type --delay 20 "Dropped Here"
xdotool key ctrl+e                                     # the designer
DESIGNER=$(wait_window '^Layout Designer')
sleep 1.5
shot "$DESIGNER" designer-opened.png

# The selected title box is outlined in orange: take it by its middle.
box=$(convert "$OUT/designer-opened.png" -fuzz 12% -fill black +opaque 'rgb(255,170,0)' \
  -format '%@' info:)  # WxH+X+Y
read -r bw bh bx by <<<"$(echo "$box" | tr 'x+' '  ')"
[ "$bw" -gt 40 ] && [ "$bh" -gt 10 ] || { echo "no selected box found ($box)"; exit 1; }
cx=$((bx + bw / 2)) cy=$((by + bh / 2))
xdotool mousemove --window "$DESIGNER" "$cx" "$cy" mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove --window "$DESIGNER" $((cx + 6 * step)) $((cy + 16 * step))
  sleep 0.03
done
sleep 0.3
xdotool mouseup 1
sleep 0.5
shot "$DESIGNER" designer-dropped.png
xdotool key ctrl+s
for _ in $(seq 1 50); do
  cmp -s "$WORK/twr.ini" "$WORK/before.ini" || break
  sleep 0.1
done
xdotool key ctrl+w
wait_gone '^Layout Designer'
sleep 0.5
shot "$MAIN" main-after-design.png
xdotool mousemove --window "$MAIN" 63 467 click 1      # Exit
discard_changes
for _ in $(seq 1 100); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
STATUS=0
wait "$APP_PID" || STATUS=$?
APP_PID=
[ "$STATUS" -eq 0 ] || { echo "titlewright exited with $STATUS"; exit 1; }

# The new corner, as the settings file holds it now.
shown=$(cd "$WORK" && "$TWR" layout show 0)
x=$(echo "$shown" | sed -n 's/^TitlePosX=//p') y=$(echo "$shown" | sed -n 's/^TitlePosY=//p')
echo "title box moved from 378, 200 to $x, $y"
[ "$x" -gt 450 ] && [ "$y" -gt 500 ] || { echo "the title box did not move as dragged"; exit 1; }
# Only the two keys changed; everything else of the file is as it was.
diff <(sed 's/^TitlePos[XY]=.*//' "$WORK/before.ini") <(sed 's/^TitlePos[XY]=.*//' "$WORK/twr.ini")

(cd "$WORK" && QT_QPA_PLATFORM=offscreen "$TWR" render --layout 0 --title "Dropped Here" \
  --label "$OUT/designer-label.png" >/dev/null)
# The box is white where it was dropped and the label black where it was.
[ "$(probe "$OUT/designer-label.png" $((x + 4)) $((y + 4)))" -eq 255 ]
[ "$(probe "$OUT/designer-label.png" $((x + 895)) $((y + 155)))" -eq 255 ]
[ "$(probe "$OUT/designer-label.png" 382 204)" -eq 0 ]
[ "$(probe "$OUT/designer-label.png" $((x - 4)) $((y - 4)))" -eq 0 ]
echo "end-to-end design through the window: passed (screenshots in $OUT)"
