#!/usr/bin/env bash
# Builds Vellumin and runs every test (core, window, end to end).
#   bash scripts/test.sh [BUILD_FOLDER] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2

# The same core for Windows: cross-built and run under Wine, its scanner
# compared with the Linux one just built.
# Then the packages a user installs, made from the two builds just tested,
# and whether the same commit packs the same bytes.
if [ "${VELLUMIN_WINDOWS_TESTS:-1}" != 0 ]; then
  bash "$root/scripts/test-windows.sh" "$root/build-windows" -DVELLUMIN_LINUX_SCAN="$build/tools/vellumin-scan"
  bash "$root/tests/packages/packages_test.sh" "$build" "$root/build-windows"
  bash "$root/tests/packages/reproducible_test.sh" "$build" "$root/build-windows"
fi
