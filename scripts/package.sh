#!/usr/bin/env bash
# Makes the packages a user installs, from this checkout, and prints where:
#   build/vellumin_<version>_amd64.deb                 the Linux programs (Debian 12)
#   build-windows/Vellumin-<version>-windows-x64.zip   the Windows programs
# Builds only what the packages hold; build folders that scripts/test.sh
# made are reused as they are. lintian checks the Debian package.
#   bash scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
build_windows=$root/build-windows

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/install-deps-packages.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellumin-deb -- -j2
VELLUMIN_WINDOWS_TARGETS=vellumin-zip bash "$root/scripts/build-windows.sh" "$build_windows"

version=$(sed -n 's/^#define VELLUMIN_VERSION "\(.*\)"$/\1/p' "$build/generated/vellumin_version.h")
deb=$build/vellumin_${version}_amd64.deb
zip=$build_windows/Vellumin-${version}-windows-x64.zip
# Errors fail; warnings are printed.
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
printf '%s\n' "$report" | grep -v '^running with root privileges' || true
[ "$status" -eq 0 ] || { echo "lintian found errors in $deb" >&2; exit 1; }
echo "$deb"
echo "$zip"
