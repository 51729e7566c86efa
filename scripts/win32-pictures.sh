#!/usr/bin/env bash
# Converts the program's pictures (ui/pictures/*.png, drawn by
# tools/draw_pictures.cpp) into the forms the Windows resource script takes:
# the icon as a .ico of 16, 32, 48 and 256 pixels in 32-bit colour (the 256
# one stored as PNG, as Windows Vista and later read it), and the door pictures as 24-bit
# bitmaps whose transparent pixels are magenta, the colour the button leaves
# out when it draws them. Needs ImageMagick; the results are kept in the
# repository, so a build does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/ui/win32/resources
pictures=$root/ui/pictures
convert "$pictures/vellumin-16.png" "$pictures/vellumin.png" "$pictures/vellumin-48.png" \
  "$pictures/vellumin-256.png" "$out/vellumin.ico"
for picture in door door_disabled; do
  convert "$root/ui/pictures/$picture.png" -channel A -threshold 50% +channel -background '#FF00FF' \
    -alpha remove -alpha off -type TrueColor "BMP3:$out/$picture.bmp"
done
