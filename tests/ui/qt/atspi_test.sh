#!/usr/bin/env bash
# Runs the real program under Xvfb with its accessibility bridge on, on a copy
# of a cookie folder, and walks it through AT-SPI as a screen reader would.
#   atspi_test.sh PROGRAM COOKIE_FOLDER WALK_SCRIPT
# Exits 77 (skipped) when D-Bus, Xvfb or the Python AT-SPI bindings are missing.
set -euo pipefail
program=$1
source_folder=$2
walk=$3

skip() {
  echo "SKIPPED: $*"
  exit 77
}

python=""
for candidate in /usr/bin/python3 python3; do
  if command -v "$candidate" >/dev/null 2>&1 && "$candidate" -c 'import pyatspi' >/dev/null 2>&1; then
    python=$candidate
    break
  fi
done
[ -n "$python" ] || skip "python3-pyatspi is not installed"
command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed"
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed"
bus_service=""
for folder in /usr/share/dbus-1/services /usr/local/share/dbus-1/services; do
  [ -f "$folder/org.a11y.Bus.service" ] && bus_service=$folder/org.a11y.Bus.service
done
[ -n "$bus_service" ] || skip "the accessibility bus launcher (at-spi2-core) is not installed"

# A private session bus of our own, which starts the accessibility bus and
# its registry when first asked.
if [ -z "${VELLUMIN_ATSPI_SESSION:-}" ]; then
  exec env VELLUMIN_ATSPI_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 -dpi 96 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

prefix=$work/prefix
mkdir -p "$prefix/drive_c/windows"
cp -r "$source_folder" "$prefix/drive_c/windows/Cookies"

WINEPREFIX=$prefix QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
program_pid=$!

status=0
"$python" "$walk" "$prefix/drive_c/windows/Cookies" || status=$?
if ! kill -0 "$program_pid" 2>/dev/null; then
  echo "the program ended during the walk" >&2
  status=1
fi
[ "$status" -eq 0 ] || cat "$work/program.log" >&2
exit "$status"
