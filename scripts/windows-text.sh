#!/bin/sh
# Writes a text file of the repository (UTF-8, LF) as the Windows zip holds
# it: every line ending in CR LF.
#   sh scripts/windows-text.sh INPUT OUTPUT               (the licence: ASCII)
#   sh scripts/windows-text.sh --help-file INPUT OUTPUT   (README.TXT)
# The help file gets a UTF-8 byte-order mark, by which Notepad reads it as
# UTF-8 under every code page (without one it takes the system's ANSI code
# page: mojibake on a Western or UTF-8 Windows), and its section on where the
# cookie folder is on Windows moves before the one on Linux, since the zip is
# read on Windows.
set -e
help_file=
if [ "$1" = --help-file ]; then
  help_file=1
  shift
fi
input=$1
output=$2
if [ -n "$help_file" ]; then
  printf '\357\273\277' >"$output.tmp"
  # Sections start at a line beginning with "■". Both sections must be there
  # (the Windows one after the Linux one, as the help file has them), or the
  # help file has changed under this script, and it says so.
  LC_ALL=C.UTF-8 awk '
    BEGIN { count = 0 }
    /^■/ { ++count }
    /^■.*（Linux）$/ { linux = count }
    /^■.*（Windows）$/ { windows = count }
    { section[count] = section[count] $0 "\n" }
    END {
      if (!linux || windows != linux + 1) {
        print "windows-text.sh: the help file has no Linux section followed by a Windows one" > "/dev/stderr"
        exit 1
      }
      for (i = 0; i <= count; ++i)
        printf "%s", (i == linux ? section[windows] : i == windows ? section[linux] : section[i])
    }' "$input" >>"$output.tmp"
else
  cat "$input" >"$output.tmp"
fi
sed -i 's/$/\r/' "$output.tmp"
mv "$output.tmp" "$output"
