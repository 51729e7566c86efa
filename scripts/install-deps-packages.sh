#!/usr/bin/env bash
# Installs the Debian 12 packages that making the packages and checking them
# need: dpkg-shlibdeps, lintian, the AppStream and desktop-entry validators,
# unzip, and icoutils to read the Windows programs' resources back. Does
# nothing when they are all there already.
set -euo pipefail

packages=(
  dpkg-dev file lintian appstream desktop-file-utils
  unzip icoutils man-db python3
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
