#!/usr/bin/env bash
# The window program on Wayland, under weston's headless back end: the real
# titlewright opened natively (QT_QPA_PLATFORM=wayland, no X server) writes a
# picture of its window and exits 0; open again, the compositor takes a
# screenshot of the desktop, and SIGTERM ends it with 0; then a whole burn
# through the main window and the burn dialog onto the virtual drive (the
# window tests' burn, run on the Wayland platform). X11 is covered by
# window_burn.sh.
# Usage: wayland_check.sh TITLEWRIGHT UI_TESTS ARTEFACT_DIR
# Exit 77 (skipped) when weston or Qt's Wayland platform plugin is missing.
set -euo pipefail
trap 'echo "wayland_check.sh: failed at line $LINENO" >&2' ERR
TITLEWRIGHT=$1 UI_TESTS=$2 OUT=$3
command -v weston >/dev/null || { echo "skipped: weston is not installed"; exit 77; }
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
  { echo "skipped: Qt's Wayland platform plugin (qt6-wayland) is not installed"; exit 77; }
mkdir -p "$OUT"
WORK=$(mktemp -d)
WESTON_PID= APP_PID=
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# A compositor of its own: its runtime folder, its socket, no X server.
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=twr-wayland-$$
unset DISPLAY
export QT_QPA_PLATFORM=wayland
# Pixman draws the desktop in memory; --debug lets weston-screenshooter take
# its picture.
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=1280 --height=900 \
  --use-pixman --idle-time=0 --debug >"$WORK/weston.log" 2>&1 &
WESTON_PID=$!
for _ in $(seq 1 100); do
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { cat "$WORK/weston.log"; echo "weston did not start"; exit 1; }

cat >"$WORK/twr.ini" <<'INI'
[Templates]
Offered=1
[Config]
LayoutNum=1
Font=Liberation Sans
[Layout00]
Name=Wayland
BaseLength=600
BgColor=235
TxColor=20
TitleWidth=300
TitleHeight=60
TitlePosX=150
TitlePosY=60
InnerRadius=40
OuterRadius=42
[VirtualDrive]
Letter=V
Disc=label
ReloadDelay=0
INI

# 1. Start, the window's own picture, exit 0.
(cd "$WORK" && timeout 60 "$TITLEWRIGHT" --screenshot "$OUT/wayland-main.png") 2>"$WORK/app.log" ||
  { cat "$WORK/app.log"; echo "titlewright did not open on Wayland"; exit 1; }
test -s "$OUT/wayland-main.png"
if grep -qi "could not load the qt platform plugin\|xcb" "$WORK/app.log"; then
  cat "$WORK/app.log"; echo "not on the Wayland platform"; exit 1
fi

# 2. Open as a user would; the compositor's screenshot; SIGTERM ends it with 0.
(cd "$WORK" && exec "$TITLEWRIGHT") 2>>"$WORK/app.log" &
APP_PID=$!
sleep 3
kill -0 "$APP_PID" || { cat "$WORK/app.log"; echo "titlewright ended early"; exit 1; }
if command -v weston-screenshooter >/dev/null; then
  (cd "$OUT" && rm -f wayland-screenshot-*.png && timeout 20 weston-screenshooter &&
    mv wayland-screenshot-*.png wayland-desktop.png) || echo "note: the compositor took no screenshot"
fi
kill -TERM "$APP_PID"
STATUS=0
wait "$APP_PID" || STATUS=$?
APP_PID=
[ "$STATUS" -eq 0 ] || { cat "$WORK/app.log"; echo "titlewright exited with $STATUS"; exit 1; }

# 3. A whole burn from the main window through the burn dialog, on Wayland.
(cd "$WORK" && TWR_UI_TESTS=MainWindowTest timeout 120 "$UI_TESTS" aWholeBurnFromTheWindow) \
  >"$WORK/burn.log" 2>&1 || { cat "$WORK/burn.log"; echo "the burn on Wayland failed"; exit 1; }
grep -q "Totals: .* 0 failed" "$WORK/burn.log" || { cat "$WORK/burn.log"; exit 1; }
grep -q "PASS   : .*aWholeBurnFromTheWindow" "$WORK/burn.log" || { cat "$WORK/burn.log"; exit 1; }

echo "Wayland: opened, screenshot, burned, exited 0 (pictures in $OUT)"
