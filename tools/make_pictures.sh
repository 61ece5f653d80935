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
echo "pictures written to $PWD"

# The progress bar's skins (24-bit bitmaps).
python3 "$tools/make_progress_skins.py"
