#!/usr/bin/env bash
# Cross-builds the Windows program and runs vellumin.exe under Wine.
#   bash scripts/run-windows.sh            build, then open the window
#   bash scripts/run-windows.sh --bench [N] [--folder FOLDER]
#                                          build, then measure the window: its start-up
#                                          with 20,000 files, a scan of N (100,000)
#   bash scripts/run-windows.sh --bench-big [MB...]
#                                          build, then measure big cookie files (1, 5, 20
#                                          and 100 MB) through the window, its text and
#                                          its cookie table, beside the bare controls
#   bash scripts/run-windows.sh --zip      build, then pack what a Windows user downloads
# - When your Wine prefix ($WINEPREFIX, or ~/.wine) has no cookie folder
#   (drive_c/windows/Cookies), the prefix build-windows/sample-prefix is made
#   once and reused, with a fresh copy of the sample folder as its cookie
#   folder each run (scripts/sample-prefix.sh), so that deleting there never
#   touches the repository or your files; its "ＭＳ Ｐゴシック" is mapped to IPA P
#   Gothic through Wine's font substitutes.
# - Without a display, the window runs under Xvfb; a screenshot is written into
#   the build folder and its path printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELLUMIN_WINDOWS_BUILD:-$root/build-windows}
mode=${1:-run}

bash "$root/scripts/build-windows.sh" "$build"
# Japanese by default (code page 932); VELLUMIN_WINE_LOCALE=C.UTF-8 shows the
# window as on a Western Windows (code page 1252).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=${VELLUMIN_WINE_LOCALE:-ja_JP.UTF-8}

if [ "$mode" = "--zip" ]; then
  cmake --build "$build" --target vellumin-zip
  exit 0
fi

have_display() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

if [ "$mode" = "--bench" ] || [ "$mode" = "--bench-big" ]; then
  # A prefix of its own, so that the user's is never touched.
  export WINEPREFIX=$(mktemp -d /tmp/vellumin-bench-prefix.XXXXXX)
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
  bash "$root/scripts/wine-prefix-fonts.sh"
  export FONTCONFIG_FILE=$WINEPREFIX/fontconfig/fonts.conf
  # Wine's desktop process keeps the display it was started with: end this
  # session, so that the benchmark's windows start on the display they use.
  wineserver -k >/dev/null 2>&1 || true
  # The start-up is measured on a cookie folder of 20,000 files, made in
  # this prefix's Windows folder by the benchmark itself.
  bench=(wine "$build/bench/vellumin-window-bench.exe" --startup-files 20000 "${@:2}")
  [ "$mode" = "--bench" ] || bench=(wine "$build/bench/vellumin-window-bench.exe" --big "${@:2}")
  if have_display; then "${bench[@]}"; else xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "${bench[@]}"; fi
  exit 0
fi

prefix=${WINEPREFIX:-${HOME:-/root}/.wine}
if [ ! -d "$prefix/drive_c/windows/Cookies" ]; then
  prefix=$(bash "$root/scripts/sample-prefix.sh" "$build")
  if [ ! -f "$prefix/system.reg" ]; then
    # Made once, with the project's fonts only (wineboot included).
    WINEPREFIX=$prefix bash "$root/scripts/wine-prefix-fonts.sh"
    # Wine's desktop process keeps the display it was started with: end
    # this session, so that the window's own starts on the display it will
    # use.
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  fi
  echo "No cookie folder found; listing a copy of the sample folder in $prefix/drive_c/windows/Cookies"
fi
export WINEPREFIX=$prefix
# A prefix that scripts/wine-prefix-fonts.sh made sees only the project's fonts.
[ ! -f "$WINEPREFIX/fontconfig/fonts.conf" ] || export FONTCONFIG_FILE=$WINEPREFIX/fontconfig/fonts.conf

program=$build/ui/win32/vellumin.exe
if have_display; then
  exec wine "$program"
fi

# Wine starts from a small wrapper, so that the screenshot script can start
# it like any program.
launcher=$build/run-vellumin.sh
printf '#!/bin/sh\nexec wine "%s"\n' "$program" > "$launcher"
chmod +x "$launcher"
screenshot=$build/vellumin-windows-screenshot.png
echo "No display: running the window under Xvfb for a screenshot"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$root/scripts/screenshot.sh" "$launcher" "$screenshot" 3
wineserver -k >/dev/null 2>&1 || true
echo "Screenshot of the window: $screenshot"
