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

bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"
