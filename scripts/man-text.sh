#!/usr/bin/env bash
# Writes a manual page as a text file for Windows users, who have no man:
# rendered as man shows it, in UTF-8 with a byte-order mark, so that Notepad
# reads it whatever the system's code page, every line ending in CR LF.
#   bash scripts/man-text.sh PAGE.1 OUTPUT
set -euo pipefail
{
  printf '\357\273\277'
  # No bold or underline by overstriking, and plain hyphens where groff
  # would put typographic ones: what is typed stays typable.
  groff -K utf8 -man -Tutf8 -P-cbou "$1" | sed 's/‐/-/g; s/−/-/g; s/$/\r/'
} >"$2.tmp"
mv "$2.tmp" "$2"
