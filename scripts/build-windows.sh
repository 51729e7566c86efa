#!/usr/bin/env bash
# Cross-builds the Windows programs (vellumin-scan.exe, the benchmarks) and
# the test programs with MinGW-w64, into their own build folder.
#   bash scripts/build-windows.sh [BUILD_FOLDER] [extra cmake options...]
# VELLUMIN_WINDOWS_TARGETS="a b" builds only those targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true

bash "$root/scripts/install-deps-windows.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
# Two jobs at most: the machine this runs on has two cores.
targets=()
for target in ${VELLUMIN_WINDOWS_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build" "${targets[@]}" -- -j2
