#!/bin/sh
# Root reads every file whatever its permissions, so under root the tests of
# unreadable files skip themselves: run them once more as user nobody, from
# a copy of the test program that nobody may execute.
#   run_as_nobody.sh TEST_PROGRAM GTEST_FILTER
set -eu
program=$1
filter=$2
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the permission tests already ran as $(id -un)"
    exit 77
fi
if ! id nobody >/dev/null 2>&1 || ! command -v setpriv >/dev/null 2>&1; then
    echo "no user nobody or no setpriv: the permission tests did not run"
    exit 77
fi
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
install -m 755 "$program" "$copy/"
chmod 755 "$copy"
cd /tmp
setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --reset-env \
    "$copy/$(basename "$program")" --gtest_filter="$filter" --gtest_brief=1
