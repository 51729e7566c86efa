#!/bin/sh
# Runs the Linux vellumin-scan and vellumin-scan.exe under Wine on the same
# folders and searches, and compares what they print row by row: the same
# rows, widths, status, caption and real file names, apart from the separator
# in the folder's path and the order of the rows (each system lists in its
# own order). Under code page 932 (a Japanese Windows), and again under 1252
# (a Western one) for the Japanese, out-of-CP932 and long names.
#   compare_windows_scan.sh LINUX_SCAN WINE_RUN SCAN_EXE SAMPLE_FOLDER
set -u
linux_scan=$1 wine_run=$2 scan_exe=$3 sample=$4
if [ ! -x "$linux_scan" ]; then
    echo "no Linux vellumin-scan at $linux_scan: build it first (scripts/test.sh)"
    exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0

# Odd names beside the sample's: a 0x5C trail byte (表, ソ) in the folder and
# in names, a blank, a comma.
odd="$dir/c表"
mkdir "$odd"
printf 'n\n表示\nso/\n' | iconv -f UTF-8 -t CP932 > "$odd/ソ@表.txt"
printf 'n\nv b,c\nblank/\n' > "$odd/u@a b.txt"
printf 'n\nv\ncomma/\n' > "$odd/u@c,d.txt"
printf 'n\nv\nexample/\n' > "$odd/taro@example.txt"
printf 'n\nv\nemoji/\n' > "$odd/u@😀.txt"
printf 'n\nv\nhiragana/\n' > "$odd/表@あ.txt"
mkdir "$odd/x@y.txt"
# A folder beyond MAX_PATH, with a name of 255 characters among others.
long="$dir/$(printf '%0120d' 0)/$(printf '%0120d' 1)"
mkdir -p "$long"
for n in 1 2 3 4 5 6 7 8 9; do printf 'n\nv%s\nlong/\n' $n > "$long/u@$n.txt"; done
printf 'n\nv\nlongest/\n' > "$long/u@$(printf '%0249d' 0).txt"

# Numbers out of the rows (they follow each system's order) in every
# format, the caption (and the summary after it, which names the folder)
# apart, the folder out of the message of a folder that cannot be listed,
# then sorted. The files' creation times are each system's own (Wine makes
# up one where Linux keeps none): the field after the last-write time goes.
normalise() { # output
    grep -v '^caption:' "$1" |
        sed 's/\(T[0-9:.]*Z\)[,	][^,	]*\(\r\{0,1\}\)$/\1\2/; s/,"file_created":[^,}]*//' |
        sed 's/^[0-9][0-9]*	/#	/; s/^[0-9][0-9]*,/#,/; s/"number":[0-9]*,//; s/,"caption":.*$//' |
        sed 's/^vellumin-scan: .*\(: cannot list the folder: \)/vellumin-scan: FOLDER\1/' |
        sed 's/^\(status:クッキーフォルダ \).* \([^ ]*\)$/\1FOLDER \2/' |
        LC_ALL=C sort
}

compare() { # folder, arguments...
    folder=$1
    shift
    windows_folder="Z:$(printf '%s' "$folder" | tr / '\\')"
    "$linux_scan" "$folder" "$@" > "$dir/linux.out" 2>&1
    linux_status=$?
    VELLUMIN_WINE_LOCALE=$locale "$wine_run" "$scan_exe" "$windows_folder" "$@" > "$dir/windows.out" 2>&1
    windows_status=$?
    normalise "$dir/linux.out" > "$dir/linux.sorted"
    normalise "$dir/windows.out" > "$dir/windows.sorted"
    linux_caption=$(grep '^caption:' "$dir/linux.out")
    windows_caption=$(grep '^caption:' "$dir/windows.out")
    prefix='caption:Vellumin ver 1.30   < CookiesPath:['
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$dir/linux.sorted" "$dir/windows.sorted" ||
        [ "$(wc -l < "$dir/linux.sorted")" -lt 3 ] || { [ -n "$linux_caption$windows_caption" ] &&
        { [ "$linux_caption" != "$prefix$folder/] >" ] || [ "$windows_caption" != "$prefix$windows_folder\\] >" ]; }; }; then
        printf 'FAIL: %s %s (exit %s on Linux, %s on Windows)\n%s\n%s\n' "$folder" "$*" "$linux_status" \
            "$windows_status" "$linux_caption" "$windows_caption"
        diff "$dir/linux.sorted" "$dir/windows.sorted"
        fail=1
    fi
}

locale=ja_JP.UTF-8
compare "$sample"
compare "$sample" --name example.com
compare "$sample" --name 'W?W'
compare "$sample" --content 'a'
compare "$odd"
compare "$odd" --name 表
compare "$odd" --content 表示
compare "$odd" --format json
compare "$odd" --format csv
compare "$long"
compare "$long" --format json
compare "$dir/missing"
locale=C.UTF-8
compare "$odd"
compare "$odd" --format json
compare "$odd" --name 表
compare "$long" --format csv

[ $fail -eq 0 ] && echo "vellumin-scan and vellumin-scan.exe print the same rows"
exit $fail
