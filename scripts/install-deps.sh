#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all there already. Run as root or with sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libgtest-dev nlohmann-json3-dev rapidjson-dev liburing-dev
  fonts-ipafont-gothic
  xvfb xauth x11-utils imagemagick
  dbus at-spi2-core python3-pyatspi
  curl wget desktop-file-utils
)

bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"
