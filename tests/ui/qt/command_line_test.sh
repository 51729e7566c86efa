#!/bin/sh
# The window program's command line as a shell runs it, with no display at
# all: help and version print and exit, mistakes exit 2 with a message, and
# none of them needs a window.
#   command_line_test.sh PROGRAM VERSION
set -u
program=$1 version=$2
fail=0
check() { # description, expected, actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL: %s\nexpected:\n%s\nactual:\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
run() { # arguments...: sets status; output in $out and $err
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@" >"$out" 2>"$err"
    status=$?
}

for option in --help -h; do
    run "$option"
    check "$option: exit status" 0 "$status"
    check "$option: the usage first" "usage: vellumin [-h | --help | --version] [--read-only] [--] [FOLDER]" "$(head -n 1 "$out")"
    check "$option: lists -h" "  -h, --help   show this help and exit" "$(grep -- '-h, --help' "$out")"
    check "$option: nothing on standard error" "" "$(cat "$err")"
done

run --version
check "--version" "0 vellumin $version" "$status $(cat "$out")"
# Qt's own options are passed over, with their values.
run -platform offscreen --version
check "Qt's options before --version" "0 vellumin $version" "$status $(cat "$out")"

# An empty folder name (an unset variable) would list the root folder.
for args in --bogus -x EMPTY --help=yes -platform; do
    if [ "$args" = EMPTY ]; then run ""; else run "$args"; fi
    check "'$args': exit status" 2 "$status"
    check "'$args': nothing on standard output" "" "$(cat "$out")"
    check "'$args': one line of error, then the usage" "vellumin: usage: vellumin" \
        "$(cut -c1-9 "$err" | head -n 1) $(sed -n 2p "$err" | cut -c1-15)"
done
run --bogus
check "the unknown option named" "vellumin: unknown option '--bogus'" "$(head -n 1 "$err")"

[ $fail -eq 0 ] && echo "vellumin's command line: all checks passed"
exit $fail
