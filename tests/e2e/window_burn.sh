#!/usr/bin/env bash
# The real titlewright on an X server (Xvfb), driven from outside the process
# with xdotool: open on a folder with a virtual drive, type a title, press
# Burn, press Draw, confirm the outcome, wait for the burn dialog to close,
# check the etched picture against the label in the automatic area a new
# label burns (as `twr plan --area auto` works it out), and exit with Exit.
# Usage: window_burn.sh TITLEWRIGHT TWR ETCHED_COMPARE ARTEFACT_DIR
# Exit 77 (skipped) when Xvfb, xdotool or ImageMagick's import are missing.
set -euo pipefail
trap 'echo "window_burn.sh: failed at line $LINENO" >&2' ERR
TITLEWRIGHT=$1 TWR=$2 COMPARE=$3 OUT=$4
source "$(dirname "$0")/xvfb_session.sh"
begin_window_run Xvfb xdotool import

TITLE="Xvfb Title"
cat >"$WORK/twr.ini" <<'INI'
[Templates]
Offered=1
[Config]
LayoutNum=1
Font=Liberation Sans
[Layout00]
Name=End to end
BaseLength=1655
BgImage=white.png
BgColor=235
TxColor=20
TitleWidth=900
TitleHeight=160
TitlePosX=378
TitlePosY=200
TitleMaxNum=32
TitleAlign=1
RingType=0
RingLength=3
InnerRadius=41
OuterRadius=44
[VirtualDrive]
Letter=V
Disc=label
ReloadDelay=0
Etched=etched.png
INI

# A white picture: only the title marks, so the automatic area is its band.
convert -size 16x16 xc:white "$WORK/white.png"

# An X server of its own, on a free display.
start_xvfb 1280x900x24


(cd "$WORK" && exec "$TITLEWRIGHT") &
APP_PID=$!
MAIN=$(wait_window '^Titlewright  Version')
wait_text "$MAIN" 200x14+434+15  # the drive list is filled by the opening
shot "$MAIN" main-before.png

click "$MAIN" 520 107           # the title edit
xdotool type --delay 20 "$TITLE"
sleep 1.5                       # the next tick redraws the preview
shot "$MAIN" main-typed.png

WARNINGS_SHOT=burn-warnings.png
BURN=$(open_burn "$MAIN")       # Burn
wait_text "$BURN" 140x12+24+67  # the disc's name, once the opening has asked the drive
click "$BURN" 269 144           # Draw
sleep 0.5
shot "$BURN" burn-dialog-mid-burn.png

# The outcome comes in a message box; OK lets the burn finish its closing steps.
BOX=$(wait_window '^Titlewright$' 1200)
shot "$BOX" outcome.png
xdotool windowactivate --sync "$BOX" key Return 2>/dev/null || xdotool key Return
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Etchlume Burn$' >/dev/null 2>&1 || break
  sleep 0.1
done
sleep 1
shot "$MAIN" main-after.png

# The etched picture against the label the window burned.
test -s "$WORK/etched.png"
cp "$WORK/etched.png" "$OUT/etched.png"
(cd "$WORK" && QT_QPA_PLATFORM=offscreen "$TWR" render --layout 0 --title "$TITLE" \
  --label "$OUT/label.png" >/dev/null)
read -r INNER OUTER < <(cd "$WORK" && QT_QPA_PLATFORM=offscreen "$TWR" plan --layout 0 \
  --title "$TITLE" --area auto --quality draft --json | python3 -c '
import json, sys
burn = json.load(sys.stdin)["qualities"][0]["burn"]
print(burn["inner"], burn["outer"])')
"$COMPARE" "$OUT/label.png" "$OUT/etched.png" "$INNER" "$OUTER"

click "$MAIN" 63 467            # Exit
discard_changes
for _ in $(seq 1 100); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
wait "$APP_PID"
STATUS=$?
APP_PID=
[ "$STATUS" -eq 0 ] || { echo "titlewright exited with $STATUS"; exit 1; }

# A stop signal during a burn at the drive's real rate: the burn stops after
# the write in progress, still runs its closing steps, and the program ends.
sed -i 's/^ReloadDelay=0$/ReloadDelay=0\nPace=1\nTrace=trace.txt/' "$WORK/twr.ini"
(cd "$WORK" && exec "$TITLEWRIGHT") &
APP_PID=$!
MAIN=$(wait_window '^Titlewright  Version')
wait_text "$MAIN" 200x14+434+15
click "$MAIN" 520 107
xdotool type --delay 20 "Stopped"
BURN=$(open_burn "$MAIN")
wait_text "$BURN" 140x12+24+67
click "$BURN" 269 144
for _ in $(seq 1 300); do  # until the burn's writes are going out
  grep -q '^AA ' "$WORK/trace.txt" 2>/dev/null && break
  sleep 0.1
done
sleep 1
kill -TERM "$APP_PID"
for _ in $(seq 1 600); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
STATUS=0
wait "$APP_PID" || STATUS=$?
APP_PID=
[ "$STATUS" -eq 0 ] || { echo "titlewright exited with $STATUS after SIGTERM"; exit 1; }
# After the last WRITE(12): the page sent back, removal allowed, the eject last.
tail_after_write=$(awk '/^AA /{n=NR} {line[NR]=$0} END{for(i=n+1;i<=NR;i++) print line[i]}' "$WORK/trace.txt")
echo "$tail_after_write" | grep -q '^55 ' || { echo "no MODE SELECT after the last write"; exit 1; }
echo "$tail_after_write" | grep -q '^1E 00 00 00 00 00 ' || { echo "removal not allowed"; exit 1; }
echo "$tail_after_write" | tail -n 1 | grep -q '^1B 00 00 00 02 00 ' || { echo "no eject at the end"; exit 1; }
writes=$(grep -c '^AA ' "$WORK/trace.txt")
[ "$writes" -lt 5000 ] || { echo "the burn did not stop ($writes writes)"; exit 1; }

echo "end-to-end burn through the window: passed (screenshots in $OUT)"
