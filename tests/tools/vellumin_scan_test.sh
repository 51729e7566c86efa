#!/bin/sh
# End-to-end checks of vellumin-scan: searches, and a read that fails.
set -u
scan=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { # description, expected, actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL: %s\nexpected:\n%s\nactual:\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}

printf 'n\nv1\nh1/\n' > "$dir/taro@alpha.txt"
printf 'n\nv2 needle\nh2/\n' > "$dir/taro@beta.txt"
printf 'n\nv3\nh3/\n' > "$dir/alpha@gamma.txt"

out=$("$scan" "$dir" --name alpha)
check "file-name search" "$(printf 'No\tFileName\tURL(?)\tInfo(?)\t\t\t\t\t\n1\ttaro@alpha\th1/\tv1\t\t\t\t\t')" \
    "$(printf '%s\n' "$out" | head -n 2)"
check "status after a search" "status: 1 個のクッキーが見付かりました" "$(printf '%s\n' "$out" | grep '^status:')"

out=$("$scan" "$dir" --content needle)
check "content search" "2	taro@beta	h2/	v2	needle				" "$(printf '%s\n' "$out" | sed -n 2p | sed 's/^1/2/')"
check "content search widths" "widths: 18 81 54 63 54 32 32 32 32" "$(printf '%s\n' "$out" | grep '^widths:')"

# A link that leads nowhere: what a file deleted after the listing looks like
# when its turn comes to be read. Left out, with a warning.
ln -s "$dir/nowhere" "$dir/beta@broken.txt"
out=$("$scan" "$dir" 2>"$dir/err")
status=$?
check "exit status with a file gone" "0" "$status"
check "warning for a file gone" \
    "vellumin-scan: $dir/beta@broken.txt: left out: no longer there when read (deleted, or no longer a file)" \
    "$(cat "$dir/err")"
check "rows around the gone file" "2	taro@alpha	h1/	v1					" "$(printf '%s\n' "$out" | sed -n 3p)"
check "status with a file gone" "status: 3 個のクッキーが見付かりました" "$(printf '%s\n' "$out" | grep '^status:')"

out=$("$scan" "$dir/missing")
check "missing folder" "status:クッキーフォルダ $dir/missing が見付かりません" "$(printf '%s\n' "$out" | grep '^status:')"
check "missing folder caption" "caption:Vellumin ver 1.30   < CookiesPath:[$dir/missing/] >" "$(printf '%s\n' "$out" | grep '^caption:')"

"$scan" >/dev/null 2>&1
check "usage" "2" "$?"

[ $fail -eq 0 ] && echo "vellumin-scan end-to-end: all checks passed"
exit $fail
