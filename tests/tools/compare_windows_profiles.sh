#!/bin/sh
# Runs the Linux vellumin-scan and vellumin-scan.exe under Wine with
# --profiles on the same sample volume (the Windows one through its Z: path)
# and compares what they print in every format: the same profiles, folders,
# files, cookies and times, apart from the separators in the folders' paths
# and the order of the rows (each system lists in its own order).
#   compare_windows_profiles.sh LINUX_SCAN WINE_RUN SCAN_EXE MAKE_SAMPLE_VOLUME
set -u
linux_scan=$1 wine_run=$2 scan_exe=$3 make_volume=$4
if [ ! -x "$linux_scan" ]; then
    echo "no Linux vellumin-scan at $linux_scan: build it first (scripts/test.sh)"
    exit 77
fi
dir=$(mktemp -d)
trap 'chmod -R u+rwx "$dir"; rm -rf "$dir"' EXIT
fail=0
root="$dir/volume"
sh "$make_volume" "$root" || exit 1
windows_root="Z:$(printf '%s' "$root" | tr / '\\')"

# The creation time is the file system's as each system asks for it: left
# out (the last field of every file's line in CSV and TSV, "file_created" in
# JSON), with the summary that names the root. Windows separators as "/"
# (escaped as "\\" in JSON and TSV), row numbers out, then sorted.
normalise() { # output
    sed 's/\\\\/\//g; s/\\/\//g' "$1" |
        sed '/2012-05-..T/ s/[^,	]*\(\r\{0,1\}\)$/\1/; s/"file_created":[^,}]*//; s/"summary":.*$//' |
        sed 's/^\([^	]*	[^	]*	\)[0-9][0-9]*	/\1#	/; s/^\([^,]*,[^,]*,\)[0-9][0-9]*,/\1#,/; s/"number":[0-9]*,//' |
        LC_ALL=C sort
}

compare() { # least lines, arguments...
    least=$1
    shift
    "$linux_scan" --profiles "$root" "$@" > "$dir/linux.out" 2>&1
    linux_status=$?
    "$wine_run" "$scan_exe" --profiles "$windows_root" "$@" > "$dir/windows.out" 2>&1
    windows_status=$?
    normalise "$dir/linux.out" > "$dir/linux.sorted"
    normalise "$dir/windows.out" > "$dir/windows.sorted"
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$dir/linux.sorted" "$dir/windows.sorted" ||
        [ "$(wc -l < "$dir/linux.sorted")" -lt "$least" ]; then
        printf 'FAIL: --profiles %s (exit %s on Linux, %s on Windows)\n' "$*" "$linux_status" "$windows_status"
        diff "$dir/linux.sorted" "$dir/windows.sorted"
        fail=1
    fi
}

compare 10
compare 12 --cookies
compare 10 --format csv
compare 12 --format csv --cookies
compare 10 --format json
compare 10 --format json --cookies
compare 16 --format netscape --cookies
compare 2 --content maps.example.org

[ $fail -eq 0 ] && echo "vellumin-scan --profiles and vellumin-scan.exe --profiles list the same cookies"
exit $fail
