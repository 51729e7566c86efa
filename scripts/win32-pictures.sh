#!/usr/bin/env bash
# Converts the program's pictures (ui/pictures/*.png, drawn by
# tools/draw_pictures.cpp) into the forms the Windows resource script takes:
# the icon as a 32 x 32, 16-colour .ico, and the door pictures as 24-bit
# bitmaps whose transparent pixels are magenta, the colour the button leaves
# out when it draws them. Needs ImageMagick; the results are kept in the
# repository, so a build does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/ui/win32/resources
convert "$root/ui/pictures/vellumin.png" -colors 16 -define icon:auto-resize=32 "$out/vellumin.ico"
for picture in door door_disabled; do
  convert "$root/ui/pictures/$picture.png" -channel A -threshold 50% +channel -background '#FF00FF' \
    -alpha remove -alpha off -type TrueColor "BMP3:$out/$picture.bmp"
done
