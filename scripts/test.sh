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

# Root reads every file whatever its permissions, so the tests of unreadable
# files skip under root: run them once more as an ordinary user.
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  echo "Running the permission tests as user nobody"
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  install -m 755 "$build/tests/vellumin_core_tests" "$copy/"
  chmod 755 "$copy"
  (cd /tmp && setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --reset-env \
    "$copy/vellumin_core_tests" --gtest_filter='*Permission*' --gtest_brief=1)
fi

# The same core for Windows: cross-built and run under Wine.
if [ "${VELLUMIN_WINDOWS_TESTS:-1}" != 0 ]; then
  bash "$root/scripts/test-windows.sh"
fi
