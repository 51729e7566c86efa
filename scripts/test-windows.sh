#!/usr/bin/env bash
# Cross-builds the Windows programs and runs their tests under Wine, in a Wine
# prefix made for the tests inside the build folder (never the user's own).
#   bash scripts/test-windows.sh [BUILD_FOLDER] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true
# Wine takes only an absolute prefix.
mkdir -p "$build"
build=$(cd "$build" && pwd)
started=$(date +%s)

# The window's tests show windows: without a display, everything below runs
# under Xvfb, the prefix's own start included, since Wine's desktop process
# keeps the display it was started with.
if [ -z "${VELLUMIN_UNDER_XVFB:-}" ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  VELLUMIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" "$build" "$@"
fi

bash "$root/scripts/build-windows.sh" "$build" "$@"

export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
# A fresh prefix for every run, made once before the tests; one Wine server
# for all of them, stopped at the end whatever happens.
rm -rf "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
mkdir -p "$WINEPREFIX"
wineserver -p
# Made under a fontconfig of its own, the prefix sees only the project's
# fonts, the window's "ＭＳ Ｐゴシック" as IPA P Gothic, as on Linux.
bash "$root/scripts/wine-prefix-fonts.sh"
export FONTCONFIG_FILE=$WINEPREFIX/fontconfig/fonts.conf
# No window manager runs under Xvfb: Wine's windows are left unmanaged, or
# Wine waits two seconds for a manager's answer each time a window goes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
touch "$WINEPREFIX/.vellumin-made"

ctest --test-dir "$build" --output-on-failure -j2
echo "Windows tests took $(($(date +%s) - started)) s (build included)"
