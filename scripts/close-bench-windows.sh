#!/usr/bin/env bash
# Times closing the Windows window under Wine, from the close (what Alt+C and
# 閉じる post) to the window hidden and to the process ended, against a plain
# list-view window, in a fresh Wine prefix of its own made as a new user's
# (no Wine setting changed), on the sample cookie folder; under Xvfb (no
# window manager) when there is no display.
#   bash scripts/close-bench-windows.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELLUMIN_WINDOWS_BUILD:-$root/build-windows}
runs=${1:-5}

if [ -z "${VELLUMIN_UNDER_XVFB:-}" ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  VELLUMIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" "$@"
fi

VELLUMIN_WINDOWS_TARGETS="vellumin vellumin-close-bench vellumin-plain-window" \
  bash "$root/scripts/build-windows.sh" "$build" >/dev/null
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
export WINEPREFIX=$(mktemp -d /tmp/vellumin-close-prefix.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Cookies"
cp "$root"/examples/cookies/* "$WINEPREFIX/drive_c/windows/Cookies/"
# One Wine session for every run, as a user's desktop keeps one.
wineserver -p
echo "plain list-view window:"
wine "$build/bench/vellumin-close-bench.exe" --runs "$runs" "$build/bench/vellumin-plain-window.exe"
echo "vellumin.exe:"
wine "$build/bench/vellumin-close-bench.exe" --runs "$runs" "$build/ui/win32/vellumin.exe"
