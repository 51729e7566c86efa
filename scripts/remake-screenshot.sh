#!/usr/bin/env bash
# Remakes ui/pictures/screenshot.png, the picture of the window that the
# README shows and the Debian package carries: the window as it starts on a
# copy of the sample folder (examples/cookies) as the cookie folder of the
# Wine prefix /tmp/taro/.wine, with the row of taro@ads.example.com[3]
# selected and its cookies shown (two live, one expired).
#   bash scripts/remake-screenshot.sh [BUILD_FOLDER [OUTPUT.png]]
# (tests/packages/reproducible_test.sh makes it into OUTPUT to compare.)
# The same commit makes the same bytes on any machine with Debian 12's Qt and
# fonts: the window is drawn off the screen (tools/window_picture.cpp) from a
# fixed folder path, under a fixed time zone and locale, with only the fonts
# the project installs (IPA P Gothic and IPA Gothic, DejaVu Sans) and
# fontconfig's own rules, never a user's or another font package's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
output=${2:-$root/ui/pictures/screenshot.png}
selected_row=6

bash "$root/scripts/install-deps.sh"
# DejaVu Sans, the one Latin font of the picture (as of the Wine test prefix).
bash "$root/scripts/install-missing.sh" fonts-dejavu-core
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellumin-window-picture -- -j2

# The folder the window shows in its folder box is part of the picture, so
# it is always the same one. Never someone else's: a /tmp/taro that this
# script did not make is left alone.
home=/tmp/taro
# One run at a time on a machine: another would remove the folder under it.
exec 9>/tmp/vellumin-screenshot.lock
flock 9
if [ -e "$home" ] && [ ! -e "$home/.vellumin-screenshot" ]; then
  echo "$home is there and was not made by this script: move it away first" >&2
  exit 1
fi
rm -rf "$home"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.wine/drive_c/windows" "$home/runtime"
touch "$home/.vellumin-screenshot"
chmod 700 "$home/runtime"
cp -r "$root/examples/cookies" "$home/.wine/drive_c/windows/Cookies"

config=$home/fontconfig
mkdir -p "$config/fonts"
for file in /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf; do
  [ -f "$file" ] || { echo "No $file: install fonts-ipafont-gothic and fonts-dejavu-core" >&2; exit 1; }
  ln -s "$file" "$config/fonts/"
done
rules=""
for rule in 30-metric-aliases 40-nonlatin 45-generic 45-latin 48-spacing 49-sansserif 60-generic 60-latin \
  65-nonlatin 90-synthetic; do
  rules+="  <include ignore_missing=\"yes\">/usr/share/fontconfig/conf.avail/$rule.conf</include>"$'\n'
done
cat >"$config/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
$rules  <dir>$config/fonts</dir>
  <cachedir>$config/cache</cachedir>
</fontconfig>
CONF

env -i PATH=/usr/bin:/bin HOME="$home" WINEPREFIX="$home/.wine" XDG_RUNTIME_DIR="$home/runtime" \
  FONTCONFIG_FILE="$config/fonts.conf" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=JST-9 \
  "$build/ui/qt/vellumin-window-picture" "$home/screenshot.png" "$selected_row" cookies
mv "$home/screenshot.png" "$output"
echo "$output"
