#!/usr/bin/env bash
# The real titlewright on an X server (Xvfb), driven with xdotool: a paced
# burn on the virtual drive, Escape asks whether to stop, No lets the burn go
# on (the trace keeps growing), so does Ctrl+Q and No (the program stays),
# Exit and Yes stop it and the outcome box says
# where it stopped, the disc is ejected; then a burn whose writes lose
# streaming ends with a box that reports the gaps, not a clean finish.
# Usage: window_stop.sh TITLEWRIGHT ARTEFACT_DIR
# Exit 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail
trap 'echo "window_stop.sh: failed at line $LINENO" >&2' ERR
TITLEWRIGHT=$1 OUT=$2
source "$(dirname "$0")/xvfb_session.sh"
begin_window_run Xvfb xdotool import convert

write_ini() {  # extra [VirtualDrive] lines
  cat >"$WORK/twr.ini" <<INI
[Templates]
Offered=1
[Config]
LayoutNum=1
Font=Liberation Sans
[Layout00]
Name=Stop
BaseLength=1655
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
Trace=trace.txt
$1
INI
  rm -f "$WORK/trace.txt"
}

start_xvfb 1280x900x24

writes() { grep -c '^AA ' "$WORK/trace.txt" 2>/dev/null || echo 0; }
# The message box's icon, by its colour: the warning triangle is yellow, the
# information and stop icons are not.
icon_is_warning() {  # window
  import -window "$1" -crop 40x40+12+12 +repage png:- 2>/dev/null |
    convert - -fx 'r>0.7 && g>0.55 && b<0.35 ? 1 : 0' -format '%[fx:maxima]' info: |
    awk '{ exit !($1 > 0.5) }'
}

start_burn() {  # title
  (cd "$WORK" && exec "$TITLEWRIGHT") &
  APP_PID=$!
  MAIN=$(wait_window '^Titlewright  Version')
  wait_text "$MAIN" 200x14+434+15
  click "$MAIN" 520 107
  xdotool type --delay 20 "$1"
  BURN=$(open_burn "$MAIN")        # Burn
  wait_text "$BURN" 140x12+24+67   # the disc's name
  click "$BURN" 269 144            # Draw
  for _ in $(seq 1 300); do
    [ "$(writes)" -gt 0 ] && break
    sleep 0.1
  done
}
quit_program() {
  click "$MAIN" 63 467             # Exit
  discard_changes
  for _ in $(seq 1 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  wait "$APP_PID"
  APP_PID=
}

# 1. A paced burn: Escape asks, No goes on, Exit and Yes stop it.
write_ini "Pace=1"
start_burn "Stopped"
sleep 1
shot "$BURN" stop-burning.png
press "$BURN" Escape
BOX=$(wait_window '^Titlewright$')
shot "$BOX" stop-question.png
icon_is_warning "$BOX" || { echo "the question has no warning icon"; exit 1; }
before=$(writes)
press "$BOX" Return   # No, the default
wait_gone '^Titlewright$'
sleep 1.5
after=$(writes)
[ "$after" -gt "$before" ] || { echo "the burn did not go on after No ($before, $after)"; exit 1; }
xdotool search --onlyvisible --name '^Etchlume Burn$' >/dev/null || { echo "No closed the burn dialog"; exit 1; }
# Ctrl+Q asks the same; No keeps the burn and the program.
press "$BURN" ctrl+q
BOX=$(wait_window '^Titlewright$')
press "$BOX" Return
wait_gone '^Titlewright$'
sleep 0.5
[ "$(writes)" -gt "$after" ] || { echo "the burn did not go on after Ctrl+Q and No"; exit 1; }

click "$BURN" 180 262            # Exit
BOX=$(wait_window '^Titlewright$')
press "$BOX" alt+y     # Yes
sleep 0.5
BOX=$(wait_window '^Titlewright$' 600)
shot "$BOX" stop-outcome.png
icon_is_warning "$BOX" && { echo "the stop is reported with a warning icon"; exit 1; }
press "$BOX" Return
wait_gone '^Etchlume Burn$'
stopped=$(writes)
[ "$stopped" -lt 5000 ] || { echo "the burn did not stop ($stopped writes)"; exit 1; }
tail -n 1 "$WORK/trace.txt" | grep -q '^1B 00 00 00 02 00 ' || { echo "no eject at the end"; exit 1; }
sleep 1
kill -0 "$APP_PID" 2>/dev/null || { echo "the program ended although Ctrl+Q was answered No"; exit 1; }
quit_program

# 2. Writes that lose streaming: the outcome reports the gaps (warning icon),
# and its Help button opens the help page that explains them.
write_ini "Faults=streaming:40,streaming:400"
start_burn "Gaps"
BOX=$(wait_window '^Titlewright$' 1200)
shot "$BOX" gaps-outcome.png
icon_is_warning "$BOX" || { echo "the gaps are not reported as a warning"; exit 1; }
press "$BOX" alt+h               # Help: the box closes, the help opens at the gaps
wait_gone '^Etchlume Burn$'
HELP=$(wait_window '^Titlewright Help$')
sleep 0.5
shot "$HELP" gaps-help.png
xdotool windowclose "$HELP" 2>/dev/null || true
quit_program

echo "stop and gaps through the window: passed (screenshots in $OUT)"
