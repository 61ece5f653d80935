#!/usr/bin/env bash
# Draws the program icon and the drag pointer with ImageMagick, and the
# progress bar's skins. The results
# are committed (resources/pictures/), so a build does not need this script;
# run it again after changing the design.
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
cd "$tools/../resources/pictures"
font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The icon: a calendar sheet, blue binding band, the character 历 on white.
for size in 256 48 32 24 16; do
  r=$((size / 8)); band=$((size * 30 / 100)); pad=$((size / 16))
  convert -size ${size}x${size} xc:none \
    -fill '#2563EB' -draw "roundrectangle $pad,$pad $((size - pad - 1)),$((size - pad - 1)) $r,$r" \
    -fill white -draw "roundrectangle $((pad + size / 16)),$band $((size - pad - 1 - size / 16)),$((size - pad - 1 - size / 16)) $((r / 2)),$((r / 2))" \
    -fill '#1E3A8A' -font "$font" -pointsize $((size * 46 / 100)) -gravity center \
    -annotate +0+$((size * 10 / 100)) '历' \
    "$tmp/icon-$size.png"
done
convert "$tmp"/icon-16.png "$tmp"/icon-24.png "$tmp"/icon-32.png "$tmp"/icon-48.png "$tmp"/icon-256.png torvane.ico

# The drag pointer: a four-way move arrow, hot spot in the centre.
convert -size 32x32 xc:none -stroke white -strokewidth 1.5 -fill '#0F172A' \
  -draw "polygon 16,2 21,8 18,8 18,14 24,14 24,11 30,16 24,21 24,18 18,18 18,24 21,24 16,30 11,24 14,24 14,18 8,18 8,21 2,16 8,11 8,14 14,14 14,8 11,8" \
  "$tmp/move.png"
convert "$tmp/move.png" "$tmp/move.ico"
# A .cur is an .ico with type 2 and the hot spot in the planes/bit-count fields.
python3 - "$tmp/move.ico" move.cur <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
struct.pack_into("<H", data, 2, 2)            # resource type: cursor
count = struct.unpack_from("<H", data, 4)[0]
for i in range(count):
    struct.pack_into("<HH", data, 6 + 16 * i + 4, 16, 16)  # hot spot
open(sys.argv[2], "wb").write(bytes(data))
PY
# The combo box's drop-down button, 17 x 17: normal, hover, pressed and
# disabled. A chevron drawn at four times the size and scaled down, on a
# plate with a line on its left that parts it from the text.
combo_button() {  # name plate chevron drop
  local y=$((7 * 4 + $4))
  convert -size 68x68 xc:"$2" -fill '#CBD5E1' -draw "rectangle 0,0 3,67" \
    -stroke "$3" -strokewidth 7 -fill none -draw "polyline 20,$y 34,$((y + 14)) 48,$y" \
    -resize 17x17 -type TrueColor "BMP3:combo_$1.bmp"
}
combo_button normal '#F1F5F9' '#64748B' 0
combo_button hover '#DBEAFE' '#2563EB' 0
combo_button pressed '#BFDBFE' '#1D4ED8' 4
combo_button disabled '#F8FAFC' '#CBD5E1' 0
# The installer's welcome and finish pages: a 164 x 314 side picture, the
# icon on the binding's blue with the product's name below it.
convert -size 164x314 gradient:'#2563EB'-'#1E3A8A' \
  \( "$tmp/icon-256.png" -resize 96x96 \) -gravity north -geometry +0+56 -composite \
  -fill white -font "$font" -pointsize 20 -gravity north -annotate +0+172 'Torvane 日历' \
  -type TrueColor "BMP3:installer_side.bmp"
echo "pictures written to $PWD"

# The progress bar's skins (24-bit bitmaps).
python3 "$tools/make_progress_skins.py"
