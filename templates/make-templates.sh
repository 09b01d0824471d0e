#!/usr/bin/env bash
# Makes the templates File > New offers, with `twr design save`: each is a
# label design whose texts are placeholders to replace. Four start from the
# example layouts (examples/twr.ini, pictures and all); the plain title and
# the Rimtone band have layouts of their own, written below. Run it again
# after a change to the layouts or the design format and check the files in:
#   templates/make-templates.sh [TWR]     (default: build/test/src/cli/twr)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
TWR=$(realpath "${1:-build/test/src/cli/twr}")
OUT=$ROOT/templates
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A white label with one title box (only the title marks: a short burn),
# a backup whose code holds its list (a phone reads what is on the disc),
# and a band at the rim of a data side for Rimtone mode: the title and the
# date as ring text over the top and the note under the bottom, in the
# outer 6 mm, nothing further in. A layout without a picture starts black
# (every sample marks): these two have a white one.
cat > "$WORK/white.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16" fill="#fff"/></svg>
SVG
cat > "$WORK/twr.ini" <<'INI'
[Config]
LayoutNum=3
Font=Liberation Sans

[Layout00]
Name=Plain title
BgImage=white.svg
BgColor=255
TxColor=0
BaseLength=1655
TitleWidth=900
TitleHeight=150
TitlePosX=377
TitlePosY=300
TitleMaxNum=24
TitleAlign=1
DateWidth=0
DateHeight=0
NoteWidth=0
NoteHeight=0
RingType=0
RingLength=0
InnerRadius=25
OuterRadius=58

[Layout01]
Name=Rimtone band
BgImage=white.svg
BgColor=255
TxColor=0
BaseLength=1655
TitleWidth=0
TitleHeight=0
DateWidth=0
DateHeight=0
NoteWidth=0
NoteHeight=0
RingType=1
RLetterAlign=2
RingMAngle=150
RingSAngle=180
RingLength=6
InnerRadius=52
OuterRadius=58

[Layout02]
Name=Backup with a code
BgImage=white.svg
BgColor=255
TxColor=0
BaseLength=1655
TitleWidth=900
TitleHeight=150
TitlePosX=377
TitlePosY=250
TitleMaxNum=24
TitleAlign=1
DateWidth=500
DateHeight=70
DatePosX=577
DatePosY=1210
DateMaxNum=24
DateAlign=1
NoteWidth=0
NoteHeight=0
QrPosX=677
QrPosY=1290
QrSize=260
RingType=0
RingLength=0
InnerRadius=25
OuterRadius=58
INI

save() {  # save NAME [twr design save options]
  local name=$1
  shift
  "$TWR" design save "$OUT/$name.twrlabel" --area auto "$@" > /dev/null
}

(cd "$WORK" && save 1-plain-title --layout 0 --title "Title")
(cd "$WORK" && save 7-backup-code --layout 2 --title "Backup" --date "Date" \
  --qr "Backup, Date: [Documents] [Pictures] notes.txt")
(cd "$WORK" && save 6-rimtone-band --layout 1 --rimtone --title "Title" \
  --date "Date" --note "Contents")
cd "$ROOT/examples"
save 2-photo-disc --layout 0 --title "Photos" --date "Date" --note "Place, people"
save 3-data-backup --layout 1 --title "Backup" --date "Date" \
  --note "[Documents]" --note "[Pictures]" --note "notes.txt"
save 4-backup-rim --layout 3 --title "Backup" --date "Date" \
  --note "[Documents]" --note "[Pictures]" --note "notes.txt"
save 5-disc-set --layout 4 --title "Title" --date "{n} of {N}"
echo "Wrote $(ls "$OUT"/*.twrlabel | wc -l) templates to $OUT"
