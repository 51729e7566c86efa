#!/bin/sh
# Writes a text file (the help file, the licence) as a Japanese Windows reads
# plain text: CP932, CR LF.
#   sh scripts/readme-cp932.sh README.TXT OUTPUT
set -e
iconv -f UTF-8 -t CP932 "$1" | sed 's/$/\r/' > "$2.tmp"
mv "$2.tmp" "$2"
