#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet, and
# does nothing when all are. Run as root or with sudo; without either, it
# prints the command that installs them and stops.
#   bash scripts/install-missing.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    {
      echo "These Debian packages are missing: ${missing[*]}"
      echo "Neither root nor sudo is at hand to install them. As root, run:"
      echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
      echo "then run this again."
    } >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
