# Shared by the window scripts: a private X server and the xdotool and
# ImageMagick steps that drive and look at the real program. Sourced; the
# script sets OUT (where screenshots go) before it calls begin_window_run.

# Skips the run (exit 77) without one of TOOLS, makes OUT and a scratch
# folder WORK, and on exit stops the program (APP_PID) and the X server.
begin_window_run() {  # tools...
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  mkdir -p "$OUT"
  WORK=$(mktemp -d)
  XVFB_PID= APP_PID=
  trap cleanup EXIT
}
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}

start_xvfb() {  # screen (WxHxD): starts Xvfb on a free display, sets DISPLAY and XVFB_PID
  exec 3< <(Xvfb -displayfd 1 -screen 0 "$1" -nolisten tcp -noreset 2>/dev/null)
  XVFB_PID=$!
  read -r -t 20 DISPLAY_NUMBER <&3 || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=":$DISPLAY_NUMBER"
  unset QT_QPA_PLATFORM
}
wait_window() {  # name regex [tries of 0.1 s] -> window id
  local id
  for _ in $(seq 1 "${2:-300}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}
wait_gone() {  # name regex [tries of 0.1 s]
  for _ in $(seq 1 "${2:-300}"); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "window '$1' did not close" >&2
  return 1
}
# Waits until a rectangle of a window shows dark text (a control the program
# fills once its drive work is done), up to a minute.
wait_text() {  # window geometry (WxH+X+Y)
  local darkest
  for _ in $(seq 1 120); do
    darkest=$(import -window "$1" -crop "$2" +repage png:- 2>/dev/null |
      convert - -colorspace Gray -format '%[fx:minima]' info: 2>/dev/null || echo 1)
    awk -v d="$darkest" 'BEGIN { exit !(d < 0.35) }' && return 0
    sleep 0.5
  done
  echo "no text appeared in $2" >&2
  return 1
}
press() {  # window key (without a window manager the key goes to the focus)
  xdotool windowactivate --sync "$1" key "$2" 2>/dev/null || xdotool key "$2"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
shot() { import -window "$1" "$OUT/$2" 2>/dev/null || import -window root "$OUT/$2"; }
# Burn, and Go on when it first lists the label's warnings (the end-to-end
# band leaves the title under the hub) -> the burn dialog's window id.
open_burn() {  # main window
  click "$1" 639 443
  local id box
  for _ in $(seq 1 300); do
    id=$(xdotool search --onlyvisible --name '^Etchlume Burn$' 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    box=$(xdotool search --onlyvisible --name '^Titlewright$' 2>/dev/null | head -n 1 || true)
    if [ -n "$box" ]; then
      [ -n "${WARNINGS_SHOT:-}" ] && { shot "$box" "$WARNINGS_SHOT"; WARNINGS_SHOT=; }
      xdotool key --window "$box" alt+g
      sleep 0.3
    fi
    sleep 0.1
  done
  echo "window '^Etchlume Burn$' did not appear" >&2
  return 1
}
# After Exit: a label typed and never saved makes the window ask first;
# Discard. Returns once the main window has gone or no question came.
discard_changes() {
  local box
  for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Titlewright  Version' >/dev/null 2>&1 || return 0
    box=$(xdotool search --onlyvisible --name '^Titlewright$' 2>/dev/null | head -n 1 || true)
    if [ -n "$box" ]; then
      press "$box" alt+d
      return 0
    fi
    sleep 0.1
  done
}
