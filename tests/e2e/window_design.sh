#!/usr/bin/env bash
# The real titlewright on an X server (Xvfb), driven with xdotool: choose
# the second layout, type a title and a note, save the label as a design
# (Ctrl+S and the file dialog), see the changed mark, answer the closing
# question with Discard, then number the settings file's layouts otherwise
# and start `titlewright FILE`: the design's texts and own layout are back
# (`twr design show`, and the window's Save As writes the same file again).
# Usage: window_design.sh TITLEWRIGHT TWR ARTEFACT_DIR
# Exit 77 (skipped) when Xvfb, xdotool or ImageMagick's import are missing.
set -euo pipefail
trap 'echo "window_design.sh: failed at line $LINENO" >&2' ERR
TITLEWRIGHT=$1 TWR=$2 OUT=$3
source "$(dirname "$0")/xvfb_session.sh"
begin_window_run Xvfb xdotool import

layouts() {  # the two layouts, in the order given
  for name in "$@"; do
    case $name in
      Arc) printf '[Layout0%s]\nName=Arc\nBaseLength=1655\nBgColor=235\nTxColor=20\nTitleWidth=900\nTitleHeight=160\nTitlePosX=378\nTitlePosY=200\nTitleMaxNum=32\nTitleAlign=1\nRingType=0\nInnerRadius=41\nOuterRadius=44\n' "$N" ;;
      Band) printf '[Layout0%s]\nName=Band\nBaseLength=1655\nBgColor=200\nTxColor=10\nTitleWidth=1000\nTitleHeight=150\nTitlePosX=328\nTitlePosY=230\nTitleMaxNum=32\nTitleAlign=1\nNoteWidth=1000\nNoteHeight=400\nNotePosX=328\nNotePosY=1050\nNoteMaxNum=40\nRingType=0\nInnerRadius=25\nOuterRadius=58\n' "$N" ;;
    esac
    N=$((N + 1))
  done
}
write_ini() {  # layout names in their order
  { printf '[Templates]\nOffered=1\n[Config]\nLayoutNum=2\nFont=Liberation Sans\n'; N=0; layouts "$@"
    printf '[VirtualDrive]\nLetter=V\nDisc=label\nReloadDelay=0\n'; } >"$WORK/twr.ini"
}
# Types into the focused window of a dialog that has just opened.
type_into() {  # window text
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.3
  xdotool type --delay 20 "$2"
  xdotool key Return
}
wait_file() {  # path
  for _ in $(seq 1 100); do [ -s "$1" ] && return 0; sleep 0.1; done
  echo "$1 was not written" >&2
  return 1
}
wait_exit() {
  for _ in $(seq 1 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && { echo "titlewright did not end"; exit 1; }
  local status=0
  wait "$APP_PID" || status=$?
  APP_PID=
  [ "$status" -eq 0 ] || { echo "titlewright exited with $status"; exit 1; }
}

write_ini Arc Band
start_xvfb 1280x900x24

# 1. A label typed and saved as a design.
(cd "$WORK" && exec "$TITLEWRIGHT") &
APP_PID=$!
MAIN=$(wait_window '^Titlewright  Version')
wait_text "$MAIN" 200x14+434+15
click "$MAIN" 150 21             # the layout list (the focus starts in the title)
xdotool key Down Return          # the second layout
click "$MAIN" 520 107            # the title edit
xdotool type --delay 20 "Saved Title"
click "$MAIN" 520 250            # the note
xdotool type --delay 20 "first line"
xdotool key Return
xdotool type --delay 20 "[Folder]"
sleep 1.2
press "$MAIN" ctrl+s
SAVE=$(wait_window '^Save the label design')
shot "$SAVE" save-dialog.png
type_into "$SAVE" "$WORK/holiday"  # the dialog adds .twrlabel
wait_file "$WORK/holiday.twrlabel"
wait_window '^holiday\.twrlabel — Titlewright  Version' >/dev/null
cp "$WORK/holiday.twrlabel" "$OUT/holiday.twrlabel"

# A change marks the title; closing asks, and Discard leaves the file alone.
click "$MAIN" 520 107
xdotool key End
xdotool type --delay 20 " changed"
wait_window '^holiday\.twrlabel\* — ' >/dev/null
shot "$MAIN" design-changed.png
click "$MAIN" 63 467             # Exit
BOX=$(wait_window '^Titlewright$')
shot "$BOX" close-question.png
press "$BOX" alt+d               # Discard
wait_exit
cmp -s "$WORK/holiday.twrlabel" "$OUT/holiday.twrlabel" || { echo "Discard changed the file"; exit 1; }

shown=$("$TWR" --config "$WORK/twr.ini" design show "$WORK/holiday.twrlabel")
echo "$shown" | grep -qx 'Title:         Saved Title' || { echo "$shown"; exit 1; }
echo "$shown" | grep -qx 'Note:          first line' || { echo "$shown"; exit 1; }
echo "$shown" | grep -q '^Layout:        "Band"' || { echo "$shown"; exit 1; }

# 2. The settings file numbers its layouts otherwise now; the design opens
# from the command line with its own layout, texts, area and quality.
write_ini Band Arc
(cd "$WORK" && exec "$TITLEWRIGHT" holiday.twrlabel) &
APP_PID=$!
MAIN=$(wait_window '^holiday\.twrlabel — Titlewright  Version')
wait_text "$MAIN" 200x14+434+15
sleep 1
shot "$MAIN" design-reopened.png
click "$MAIN" 520 107            # the focus in the window
press "$MAIN" ctrl+shift+s       # Save As: what the window shows, written again
SAVE=$(wait_window '^Save the label design')
type_into "$SAVE" "$WORK/again.twrlabel"
wait_file "$WORK/again.twrlabel"
cmp "$WORK/holiday.twrlabel" "$WORK/again.twrlabel" ||
  { echo "the reopened window does not hold the saved design"; diff "$WORK/holiday.twrlabel" "$WORK/again.twrlabel" | head; exit 1; }
wait_window '^again\.twrlabel — ' >/dev/null
click "$MAIN" 63 467             # Exit: nothing changed, no question
wait_exit

# 3. A file that cannot be read: a message, and the window opens empty.
echo "not a design" >"$WORK/broken.twrlabel"
(cd "$WORK" && exec "$TITLEWRIGHT" broken.twrlabel) &
APP_PID=$!
BOX=$(wait_window '^Titlewright$')
shot "$BOX" broken-design.png
# OK, in the box's bottom right corner.
eval "$(xdotool getwindowgeometry --shell "$BOX")"
click "$BOX" $((WIDTH - 68)) $((HEIGHT - 27))
wait_gone '^Titlewright$' 100
MAIN=$(wait_window '^Titlewright  Version')
wait_text "$MAIN" 200x14+434+15
click "$MAIN" 63 467
wait_exit

# 4. A screenshot run waits for nobody: the refusal goes to stderr, the
# window is shot and the program ends; a design that could not be opened
# is in no recent list.
(cd "$WORK" && timeout 60 "$TITLEWRIGHT" --screenshot "$OUT/screenshot-broken.png" broken.twrlabel) \
  2>"$WORK/screenshot.err" || { echo "the screenshot run failed or waited"; cat "$WORK/screenshot.err"; exit 1; }
grep -q "Cannot open the design 'broken.twrlabel'" "$WORK/screenshot.err" ||
  { echo "the screenshot run did not say why"; cat "$WORK/screenshot.err"; exit 1; }
[ -s "$OUT/screenshot-broken.png" ] || { echo "no screenshot"; exit 1; }
if grep -q 'broken\.twrlabel' "$WORK/twr.ini"; then
  echo "a design that could not be opened is in the recent list"; exit 1
fi

echo "designs through the window: passed (screenshots in $OUT)"
