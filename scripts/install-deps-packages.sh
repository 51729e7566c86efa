#!/usr/bin/env bash
# Installs the Debian 12 packages that making the packages and checking them
# need: dpkg-shlibdeps, lintian, the AppStream and desktop-entry validators,
# unzip, icoutils to read the Windows programs' resources back, and xdg-utils
# to ask which program opens folders once the menu entry is installed. Does
# nothing when they are all there already.
set -euo pipefail

packages=(
  dpkg-dev file lintian appstream desktop-file-utils
  unzip icoutils man-db python3 xdg-utils
)

bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"
