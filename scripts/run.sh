#!/usr/bin/env bash
# Builds Vellumin and opens its window.
#   bash scripts/run.sh
# - When your cookie folder ($WINEPREFIX/drive_c/windows/Cookies, or
#   ~/.wine/drive_c/windows/Cookies) does not exist, a fresh copy of the sample
#   folder in build/sample-prefix (scripts/sample-prefix.sh) is listed instead,
#   so that deleting there never touches the repository or your files.
# - Without a display, the window runs under Xvfb; a screenshot is written into
#   the build folder and its path printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELLUMIN_BUILD:-$root/build}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

prefix=${WINEPREFIX:-${HOME:-/root}/.wine}
if [ ! -d "$prefix/drive_c/windows/Cookies" ]; then
  prefix=$(bash "$root/scripts/sample-prefix.sh" "$build")
  echo "No cookie folder found; listing a copy of the sample folder in $prefix/drive_c/windows/Cookies"
fi
export WINEPREFIX=$prefix

program=$build/ui/qt/vellumin
if [ ! -x "$program" ]; then
  # Built without the window: show what it would list.
  exec "$build/tools/vellumin-scan" "$WINEPREFIX/drive_c/windows/Cookies"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

screenshot=$build/vellumin-screenshot.png
echo "No display: running the window under Xvfb for a screenshot"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$root/scripts/screenshot.sh" "$program" "$screenshot"
echo "Screenshot of the window: $screenshot"
