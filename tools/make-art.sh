#!/bin/bash
# Regenerates every picture used by Quill Mere (bitmaps and icons) into
# resources/art/, using ImageMagick and the DejaVu fonts from Debian
# (packages: imagemagick, fonts-dejavu-core).
#
# The output is deterministic: running the script twice gives byte-identical
# files.  Bitmaps are Windows BMP version 3, 24-bit, uncompressed, so that
# windres and LoadBitmap accept them; icons hold 32x32 and 16x16 BMP entries.
#
# Usage: tools/make-art.sh        (from any directory)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ART="$ROOT/resources/art"
mkdir -p "$ART"

command -v convert >/dev/null 2>&1 || { echo "make-art: ImageMagick 'convert' not found" >&2; exit 1; }

FONTDIR=/usr/share/fonts/truetype/dejavu
SANS="$FONTDIR/DejaVuSans.ttf"
SANS_BOLD="$FONTDIR/DejaVuSans-Bold.ttf"
SERIF_BI="$FONTDIR/DejaVuSerif-BoldItalic.ttf"
for f in "$SANS" "$SANS_BOLD" "$SERIF_BI"; do
    [[ -r "$f" ]] || { echo "make-art: missing font $f (install fonts-dejavu-core)" >&2; exit 1; }
done

# Single-threaded, so that nothing depends on scheduling.
export MAGICK_THREAD_LIMIT=1
export OMP_NUM_THREADS=1

# Palette.
NAVY='#001a66'
BTN_TOP='#0a2d8c'        # dark blue button face, top of the gradient
BTN_BOT='#00124d'        # ... and bottom
BTN_EDGE='#4a6cc0'       # thin frame round the dark blue buttons
SCRIPT_INK='#fff4c4'     # pale yellow for the "Randomize" buttons
BAND_TOP='#f6f8fd'       # light band behind the section titles
BAND_BOT='#ccd8ee'
BAND_EDGE='#8fa3cc'
FACE='#c0c0c0'           # classic button face
YELLOW='#ffd400'
YELLOW_EDGE='#6a4a00'
FOLDER='#f7cf4a'
FOLDER_DARK='#e0b030'
FOLDER_EDGE='#7a5800'
RED='#e01010'
RED_DARK='#600000'
ARROW='#1f4fb0'
GREEN='#1a7a1a'
GREEN_DARK='#003800'
NOTE='#102060'

# Shapes are drawn at S times the final size, in final-pixel coordinates
# (the MVG "scale" does the enlarging), then box-averaged down.
S=8

# Output options for Windows BMP 3, 24-bit, uncompressed, no metadata.
BMP_OUT=(-alpha off -type TrueColor -strip -compress none -define bmp:format=bmp3)

count=0

# shape W H MVG -> ImageMagick arguments building a transparent WxH layer.
# The result is left in the global array LAYER.
shape() {
    local w=$1 h=$2 mvg=$3
    LAYER=( '(' -size "$((w * S))x$((h * S))" xc:none -draw "scale $S,$S $mvg" -scale "${w}x${h}" ')' )
}

# --- dark blue buttons with white bold captions (108x27) -------------------
blue_button() {
    local id=$1 text=$2
    convert -size 106x25 "gradient:$BTN_TOP-$BTN_BOT" -bordercolor "$BTN_EDGE" -border 1 \
        -font "$SANS_BOLD" -pointsize 13 -fill white -gravity center -annotate +0+0 "$text" \
        "${BMP_OUT[@]}" "BMP3:$ART/bmp$id.bmp"
    count=$((count + 1))
}

# --- dark blue buttons with pale script-like captions (180x42) -------------
script_button() {
    local id=$1 text=$2
    convert -size 178x40 "gradient:$BTN_TOP-$BTN_BOT" -bordercolor "$BTN_EDGE" -border 1 \
        -font "$SERIF_BI" -pointsize 16 -fill "$SCRIPT_INK" -gravity center -annotate +0+0 "$text" \
        "${BMP_OUT[@]}" "BMP3:$ART/bmp$id.bmp"
    count=$((count + 1))
}

# --- section titles: dark blue bold words on a light band -------------------
title_band() {
    local id=$1 w=$2 h=$3 pt=$4 text=$5
    convert -size "$((w - 2))x$((h - 2))" "gradient:$BAND_TOP-$BAND_BOT" -bordercolor "$BAND_EDGE" -border 1 \
        -font "$SANS_BOLD" -pointsize "$pt" -fill "$NAVY" -gravity center -annotate +0+0 "$text" \
        "${BMP_OUT[@]}" "BMP3:$ART/bmp$id.bmp"
    count=$((count + 1))
}

# --- picture on a dark blue field -------------------------------------------
on_navy() {
    local id=$1 w=$2 h=$3 mvg=$4
    shape "$w" "$h" "$mvg"
    convert -size "${w}x${h}" "xc:$NAVY" "${LAYER[@]}" -composite \
        "${BMP_OUT[@]}" "BMP3:$ART/bmp$id.bmp"
    count=$((count + 1))
}

# --- tool buttons: small picture over a word, on the grey button face ------
tool_button() {
    local id=$1 w=$2 h=$3 text=$4 mvg=$5
    shape "$w" "$h" "$mvg"
    convert -size "${w}x${h}" "xc:$FACE" "${LAYER[@]}" -composite \
        -font "$SANS" -pointsize 9 -fill black -gravity south -annotate +0+1 "$text" \
        "${BMP_OUT[@]}" "BMP3:$ART/bmp$id.bmp"
    count=$((count + 1))
}

# --- icons: drawn on a 32x32 grid, stored as 32x32 and 16x16 -----------------
# icon ID MVG [extra ImageMagick arguments applied to the 256x256 master]
icon() {
    local id=$1 mvg=$2
    shift 2
    convert -size 256x256 xc:none -draw "scale 8,8 $mvg" "$@" \
        '(' -clone 0 -scale 32x32 ')' '(' -clone 0 -scale 16x16 ')' -delete 0 \
        -strip "ICO:$ART/icon$id.ico"
    count=$((count + 1))
}

# ---------------------------------------------------------------------------
# Shared drawings (MVG, final-pixel coordinates).

# Yellow lightning bolt for a 20x32 field.
BOLT_SMALL="fill $YELLOW stroke $YELLOW_EDGE stroke-width 0.8 stroke-linejoin round
  polygon 13,1 4,17 9.5,17 6,31 17,12 11,12 16,1"

# Red cross: dark outline under a bright stroke.
cross() { # x0 y0 x1 y1 width
    local x0=$1 y0=$2 x1=$3 y1=$4 wd=$5
    local wo
    wo=$(python3 -c "print($wd + 1.6)")
    echo "fill none stroke-linecap round
      stroke $RED_DARK stroke-width $wo line $x0,$y0 $x1,$y1 line $x1,$y0 $x0,$y1
      stroke $RED stroke-width $wd line $x0,$y0 $x1,$y1 line $x1,$y0 $x0,$y1"
}

# Points of an elliptic arc, as an MVG polyline (angles in degrees, clockwise
# from +x).  Curved strokes are drawn as polylines: ImageMagick 6 closes thick
# stroked open curves.
arc() { # cx cy rx ry a0 a1
    python3 - "$@" <<'EOF'
import math, sys
cx, cy, rx, ry, a0, a1 = map(float, sys.argv[1:7])
n = max(int(abs(a1 - a0) / 5), 2)
pts = []
for i in range(n + 1):
    a = math.radians(a0 + (a1 - a0) * i / n)
    pts.append('%.2f,%.2f' % (cx + rx * math.cos(a), cy + ry * math.sin(a)))
print('polyline ' + ' '.join(pts))
EOF
}

# Arrowhead (triangle) at the end of an elliptic arc, pointing along it.
arc_head() { # cx cy rx ry a_end length half_width
    python3 - "$@" <<'EOF'
import math, sys
cx, cy, rx, ry, a, ln, hw = map(float, sys.argv[1:8])
r = math.radians(a)
px, py = cx + rx * math.cos(r), cy + ry * math.sin(r)
tx, ty = -rx * math.sin(r), ry * math.cos(r)
d = math.hypot(tx, ty)
tx, ty = tx / d, ty / d
nx, ny = -ty, tx
pts = [(px + ln * tx, py + ln * ty), (px + hw * nx, py + hw * ny), (px - hw * nx, py - hw * ny)]
print('polygon ' + ' '.join('%.2f,%.2f' % p for p in pts))
EOF
}

# Closed folder with its top-left corner at (x,y), body w x h.
folder() { # x y w h
    local x=$1 y=$2 w=$3 h=$4
    python3 - "$x" "$y" "$w" "$h" "$FOLDER" "$FOLDER_DARK" "$FOLDER_EDGE" <<'EOF'
import sys
x, y, w, h = map(float, sys.argv[1:5])
fc, fd, fe = sys.argv[5:8]
tw = w * 0.35
th = max(h * 0.16, 1.5)
def p(v):
    return ('%.2f' % v).rstrip('0').rstrip('.')
print(f"stroke {fe} stroke-width 0.8 stroke-linejoin round "
      f"fill {fd} polygon {p(x)},{p(y)} {p(x)},{p(y-th+0.5)} {p(x+0.7)},{p(y-th)} "
      f"{p(x+tw-0.8)},{p(y-th)} {p(x+tw+0.8)},{p(y)} "
      f"fill {fc} rectangle {p(x)},{p(y)} {p(x+w)},{p(y+h)}")
EOF
}

# ---------------------------------------------------------------------------
# 135: light, calm cloudy texture stretched behind every dialog.
convert -size 64x64 -seed 7 plasma:grey80-grey92 -colorspace Gray -blur 0x2 \
    -auto-level +level 78.5%,92% \
    "${BMP_OUT[@]}" "BMP3:$ART/bmp135.bmp"
count=$((count + 1))

# Dark blue command buttons.
blue_button 136 "Cancel"
blue_button 138 "Exit"
blue_button 144 "OK"
blue_button 147 "Remove"
blue_button 163 "Hide"

# Large "Randomize" buttons.
script_button 145 "Randomize Display"
script_button 146 "Randomize Sounds"

# 143: lightning bolt; 151: red cross (both on dark blue).
on_navy 143 20 32 "$BOLT_SMALL"
on_navy 151 19 33 "$(cross 4 11 15 22 3.2)"

# Section titles.
title_band 153 264 28 17 "Display Settings"
title_band 154 248 28 17 "Sound Settings"
title_band 149 152 29 17 "Settings"
title_band 150 197 22 14 "Wallpaper Files"
title_band 160 232 22 14 "Screen Saver Files"
title_band 148 150 22 14 "Sound Files"

# File chooser tool buttons.
tool_button 142 43 38 "Up" "$(folder 12 9 19 14)
  fill $GREEN stroke $GREEN_DARK stroke-width 0.7 stroke-linejoin round
  polygon 21.5,2.5 27.5,8.5 24,8.5 24,19 19,19 19,8.5 15.5,8.5"

tool_button 159 43 38 "Back" "fill $ARROW stroke $NAVY stroke-width 0.8 stroke-linejoin round
  polygon 9,13 18,5 18,9.5 33,9.5 33,16.5 18,16.5 18,21"

RENAME_ARC=$(arc 26 22 11 14 180 283)
tool_button 155 50 38 "Rename" "fill none stroke-linecap round stroke-linejoin round
  stroke $NAVY stroke-width 4.2 $RENAME_ARC
  stroke $ARROW stroke-width 2.6 $RENAME_ARC
  fill $ARROW stroke $NAVY stroke-width 0.8
  $(arc_head 26 22 11 14 283 5.5 4.2)"

tool_button 156 43 38 "Delete" "$(cross 15.5 6 27.5 18 3.4)"

tool_button 158 43 38 "New" "$(folder 8 10 20 13)
  fill #fff45c stroke #a06000 stroke-width 0.7 stroke-linejoin round
  polygon 31,1 32.4,4.6 36,6 32.4,7.4 31,11 29.6,7.4 26,6 29.6,4.6"

tool_button 157 50 38 "Refresh" "fill none stroke-linecap round
  stroke $GREEN_DARK stroke-width 4.2
  line 25,4.5 25,20.5 line 18.07,8.5 31.93,16.5 line 18.07,16.5 31.93,8.5
  stroke $GREEN stroke-width 2.6
  line 25,4.5 25,20.5 line 18.07,8.5 31.93,16.5 line 18.07,16.5 31.93,8.5"

# 181: small-image strip (two 17x16 cells) on pure white, the mask colour.
SPEAKER_SMALL="stroke #202020 stroke-width 0.8 stroke-linejoin round
  fill #606060 rectangle 1.5,5.5 4.5,10.5
  fill #a0a0a0 polygon 4.5,5.5 9,1.8 9,14.2 4.5,10.5
  fill none stroke $ARROW stroke-width 1.1 stroke-linecap round stroke-linejoin round
  $(arc 8.5 8 3 3.4 -50 50)
  $(arc 8.5 8 6 6.2 -50 50)"
NOTE_SMALL="fill $NOTE stroke none
  push graphic-context translate 20.6,12.8 rotate -20 ellipse 0,0 2.6,1.9 0,360 pop graphic-context
  push graphic-context translate 28.1,11.3 rotate -20 ellipse 0,0 2.6,1.9 0,360 pop graphic-context
  stroke $NOTE stroke-width 1.1
  line 22.9,12.3 22.9,3.4 line 30.4,10.8 30.4,1.9
  stroke none polygon 22.35,3.2 30.95,1.5 30.95,4.3 22.35,6"
shape 34 16 "$SPEAKER_SMALL $NOTE_SMALL"
convert -size 34x16 xc:white "${LAYER[@]}" -composite \
    "${BMP_OUT[@]}" "BMP3:$ART/bmp181.bmp"
count=$((count + 1))

# ---------------------------------------------------------------------------
# Icons (MVG on a 32x32 grid).

# 128: program icon: red "QM" on dark blue with a yellow lightning bolt across.
icon 128 "fill $NAVY stroke $BTN_EDGE stroke-width 1 roundrectangle 1,1 31,31 5,5" \
    -font "$SANS_BOLD" -pointsize 104 -kerning 30 -gravity center \
    -stroke white -strokewidth 10 -fill white -annotate +0+4 "QM" \
    -stroke none -fill '#ff2020' -annotate +0+4 "QM" \
    -draw "scale 8,8 fill $YELLOW stroke $YELLOW_EDGE stroke-width 0.9 stroke-linejoin round
      polygon 19,0.8 12.2,16 16.4,16 13.2,31.2 21.6,13.2 17.6,13.2 22.4,0.8"

# 130: musical note (two beamed eighth notes).
icon 130 "fill $NOTE stroke none
  push graphic-context translate 9,25 rotate -20 ellipse 0,0 5,3.7 0,360 pop graphic-context
  push graphic-context translate 23,22 rotate -20 ellipse 0,0 5,3.7 0,360 pop graphic-context
  stroke $NOTE stroke-width 2
  line 13.4,23.8 13.4,7 line 27.4,20.8 27.4,4
  stroke none polygon 12.4,6.6 28.4,3 28.4,8.2 12.4,11.8"

# 131: stack of documents.
icon 131 "stroke #404040 stroke-width 1 stroke-linejoin round
  fill #d8d8d8 rectangle 11.5,1.5 28.5,22.5
  fill #ececec rectangle 7.5,4.5 24.5,26.5
  fill #ffffff rectangle 3.5,8.5 20.5,30.5
  stroke #6080c0 stroke-width 1
  line 6,13 18,13 line 6,16 18,16 line 6,19 18,19 line 6,22 18,22 line 6,25 14,25"

# 132: open folder.
icon 132 "stroke $FOLDER_EDGE stroke-width 1 stroke-linejoin round
  fill $FOLDER_DARK polygon 2.5,9 2.5,5.5 4,4 11,4 13,6.5 13,9
  fill $FOLDER_DARK rectangle 2.5,8 27.5,27
  fill #ffffff stroke #808080 polygon 6,24 6,10.5 24,10.5 24,24
  stroke $FOLDER_EDGE fill #fadb66 polygon 2.5,27 7.5,14 31,14 26,27"

# 133: closed folder.
icon 133 "stroke $FOLDER_EDGE stroke-width 1 stroke-linejoin round
  fill $FOLDER_DARK polygon 2.5,9 2.5,5.5 4,4 11,4 13,6.5 13,9
  fill $FOLDER roundrectangle 2.5,8 29.5,27 1.5,1.5
  stroke #fff2b0 line 4,10 28,10"

# 135: loudspeaker.
icon 135 "stroke #202020 stroke-width 1 stroke-linejoin round
  fill #707070 rectangle 3,11 9,21
  fill #a8a8a8 polygon 9,11 17,4 17,28 9,21
  fill none stroke $ARROW stroke-width 2 stroke-linecap round stroke-linejoin round
  $(arc 17 16 4.8 6.2 -50 50)
  $(arc 17 16 9.5 10.5 -50 50)"

echo "make-art: wrote $count pictures to resources/art"
