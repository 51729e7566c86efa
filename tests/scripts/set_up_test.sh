#!/usr/bin/env bash
# The set-up a new user goes through: the install scripts without root and
# without sudo, the README's package lists against the scripts' own, and the
# sample prefix that the run scripts list, reused rather than left behind.
#   bash tests/scripts/set_up_test.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { # description, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL: %s\nexpected:\n%s\nactual:\n%s\n' "$1" "$2" "$3"
    fail=1
  fi
}

# --- Without root and without sudo: the line to run, and a stop ---
# A PATH that holds no sudo, and an id that answers as an ordinary user.
mkdir "$work/bin"
for tool in dpkg-query grep; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
printf '#!/bin/sh\necho 1000\n' >"$work/bin/id"
chmod +x "$work/bin/id"
bash=$(command -v bash)
output=$(PATH=$work/bin "$bash" "$root/scripts/install-missing.sh" bash vellumin-absent-one vellumin-absent-two 2>&1)
check "no sudo: stops with status 1" 1 "$?"
check "no sudo: the exact line for the missing packages only" \
  "  apt-get update && apt-get install -y --no-install-recommends vellumin-absent-one vellumin-absent-two" \
  "$(printf '%s\n' "$output" | grep 'apt-get install')"
PATH=$work/bin "$bash" "$root/scripts/install-missing.sh" bash >/dev/null 2>&1
check "no sudo, nothing missing: nothing to do" 0 "$?"

# --- The README's package lists are the scripts' own ---
check "README's package lists" "ok" "$(python3 - "$root" <<'PY'
import re, sys, pathlib
root = pathlib.Path(sys.argv[1])
def script_packages(name):
    text = (root / "scripts" / name).read_text()
    block = re.search(r"^packages=\((.*?)^\)", text, re.S | re.M).group(1)
    return sorted(re.sub(r"#.*", "", block).split())
# Each list item of "## Installing" that names an install script: the
# packages after its colon.
section = re.search(r"^## Installing\n(.*?)^## ", (root / "README.md").read_text(), re.S | re.M).group(1)
items = re.findall(r"^- (.*?)(?=^- |^\s*$)", section, re.S | re.M)
problems, seen = [], set()
for item in items:
    m = re.search(r"\(`scripts/(install-deps[\w-]*\.sh)`[^)]*\):(.*)", item, re.S)
    if not m:
        continue
    name, listed = m.group(1), sorted(re.findall(r"`([^`]+)`", m.group(2)))
    seen.add(name)
    if listed != script_packages(name):
        problems.append(f"{name}: README {listed}, script {script_packages(name)}")
for path in sorted((root / "scripts").glob("install-deps*.sh")):
    if path.name not in seen:
        problems.append(f"{path.name}: not in the README")
print("\n".join(problems) or "ok")
PY
)"

# --- The sample prefix: one folder, a fresh copy each run ---
build=$work/build
prefix=$(bash "$root/scripts/sample-prefix.sh" "$build")
check "sample prefix: in the build folder" "$build/sample-prefix" "$prefix"
cookies=$prefix/drive_c/windows/Cookies
rm "$cookies"/taro@*
echo stray >"$cookies/stray.txt"
check "sample prefix: the same folder again" "$prefix" "$(bash "$root/scripts/sample-prefix.sh" "$build")"
check "sample prefix: a fresh copy of the samples" "" "$(diff -r "$root/examples/cookies" "$cookies" 2>&1)"
check "sample prefix: nothing else in the build folder" "sample-prefix" "$(ls "$build")"

[ $fail -eq 0 ] && echo "set-up: all checks passed"
exit $fail
