#!/usr/bin/env bash
# Installs the Debian 12 packages that cross-building the Windows programs and
# testing them under Wine need, and generates the Japanese locale that makes
# Wine's ANSI code page 932. Does nothing when all is there already.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix
  googletest
  wine wine64
  locales groff-base
  zip
  xvfb x11-utils
  # The only fonts the tests' Wine prefix sees (scripts/wine-prefix-fonts.sh).
  fonts-ipafont-gothic fonts-dejavu-core
)

bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ -n "$sudo" ] && ! command -v sudo >/dev/null 2>&1; then
    {
      echo "The locale ja_JP.UTF-8 is missing, and neither root nor sudo is at hand to make it. As root, run:"
      echo "  echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen && locale-gen"
      echo "then run this again."
    } >&2
    exit 1
  fi
  echo "Generating the locale ja_JP.UTF-8"
  $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
