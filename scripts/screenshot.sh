#!/usr/bin/env bash
# Starts the program on the current X display, waits until its window is
# mapped, saves a screenshot of the screen and closes the program.
#   bash scripts/screenshot.sh PROGRAM OUTPUT.png [SECONDS_TO_SETTLE]
set -euo pipefail
program=$1
output=$2
settle=${3:-1}

# The X server may still be starting.
for _ in $(seq 1 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Vellumin'; then
    break
  fi
  kill -0 "$pid" 2>/dev/null || { echo "the program ended before its window showed" >&2; exit 1; }
  sleep 0.1
done
sleep "$settle"
import -window root "$output"
