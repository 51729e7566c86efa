#!/usr/bin/env bash
# Makes the Wine-style prefix that scripts/run.sh and scripts/run-windows.sh
# list when your own prefix has no cookie folder, and prints its path:
# BUILD_FOLDER/sample-prefix, one folder reused by every run (nothing is
# left behind in /tmp), its cookie folder a fresh copy of examples/cookies
# each time, so that what the last run deleted is back and the repository's
# own files are never touched.
#   bash scripts/sample-prefix.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
prefix=$(cd "$1" && pwd)/sample-prefix
cookies=$prefix/drive_c/windows/Cookies
mkdir -p "$prefix/drive_c/windows"
rm -rf "$cookies"
cp -r "$root/examples/cookies" "$cookies"
printf '%s\n' "$prefix"
