#!/usr/bin/env bash
# Checks that the packages depend on the commit alone, not on when or where
# they were made, so that anyone can check a package against its commit:
#   1. packed twice from the same builds, seconds apart, the .deb and the zip
#      are the same bytes (no time of packing, staging or compressing in them);
#   2. the scanner built once more, from a copy of the sources with new file
#      times, in folders of other names and lengths, is the same bytes as the
#      one in each package, and the Qt resource compiler writes the same
#      pictures' data as in the first build. A first build made through a
#      compiler launcher (ccache, whose base_dir hands the compiler other
#      file names, which the debugging information and so the build id keep)
#      is not compared with a second build: that is said, and CI, which uses
#      none, compares them.
# Why the scanner alone is enough for the second build: every program is
# compiled and linked with the same flags (the top CMakeLists.txt), so a
# folder's name or a time that reached the window would reach the scanner
# too; the one input that is the window's own, the pictures' times, is what
# the resource compiler's output shows. A second build of everything would
# double the time this takes in CI for nothing more.
# On a difference it prints which member of which package differs, and how.
# Last, the screenshot that the package carries (ui/pictures/screenshot.png):
# made twice by its script, the same bytes, and the committed one, so that it
# shows the window as the sources draw it now.
#   bash tests/packages/reproducible_test.sh BUILD BUILD_WINDOWS
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
build_windows=$(cd "$2" && pwd)
started=$(date +%s)

version=$(sed -n 's/^#define VELLUMIN_VERSION "\(.*\)"$/\1/p' "$build/generated/vellumin_version.h")
cached() { sed -n "s/^$1:[A-Z]*=//p" "$2/CMakeCache.txt"; }
deb_name=vellumin_${version}_amd64.deb
zip_name=Vellumin-${version}-windows-x64.zip
work=$(mktemp -d /tmp/vellumin-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail=0

# explain FIRST SECOND: prints what differs between two packages or programs,
# member by member, down to the file.
explain() {
  local first=$1 second=$2 where=$work/explain
  rm -rf "$where" && mkdir -p "$where/1" "$where/2"
  case $first in
    *.deb)
      (cd "$where/1" && ar x "$first") && (cd "$where/2" && ar x "$second")
      diff <(ar tv "$first") <(ar tv "$second") | sed 's/^/  ar: /'
      for member in $(ar t "$first"); do
        cmp -s "$where/1/$member" "$where/2/$member" && continue
        echo "  member $member differs"
        case $member in
          *.tar*)
            diff <(tar -tvf "$where/1/$member" --full-time) <(tar -tvf "$where/2/$member" --full-time) | sed 's/^/    /'
            mkdir -p "$where/1/${member%%.*}" "$where/2/${member%%.*}"
            tar -xf "$where/1/$member" -C "$where/1/${member%%.*}"
            tar -xf "$where/2/$member" -C "$where/2/${member%%.*}"
            diff -rq "$where/1/${member%%.*}" "$where/2/${member%%.*}" | sed "s|$where/[12]/||g; s/^/    /"
            ;;
        esac
      done
      ;;
    *.zip)
      diff <(zipinfo -l "$first" | tail -n +2) <(zipinfo -l "$second" | tail -n +2) | sed 's/^/  /'
      unzip -q "$first" -d "$where/1" && unzip -q "$second" -d "$where/2"
      diff -rq "$where/1" "$where/2" | sed "s|$where/[12]/||g; s/^/  /"
      ;;
    *)
      echo "  $(cmp "$first" "$second" | head -1); $(cmp -l "$first" "$second" | wc -l) bytes differ"
      ;;
  esac
}
same() { # description, first, second
  if ! cmp -s "$2" "$3"; then
    echo "FAIL: $1: $2 and $3 differ"
    explain "$2" "$3"
    fail=1
  fi
}

# --- 1. The same builds packed twice ---
pack() { # into FOLDER
  mkdir -p "$1"
  cmake --build "$build" --target vellumin-deb >/dev/null || exit 1
  cmake --build "$build_windows" --target vellumin-zip >/dev/null || exit 1
  cp "$build/$deb_name" "$build_windows/$zip_name" "$1/"
}
pack "$work/packed-once"
sleep 2
pack "$work/packed-again"
same "the .deb packed twice" "$work/packed-once/$deb_name" "$work/packed-again/$deb_name"
same "the zip packed twice" "$work/packed-once/$zip_name" "$work/packed-again/$zip_name"

# --- 2. The scanner built again elsewhere ---
# The time the first build took its dates from, as packing left it (a new
# commit since its last build configures it again).
epoch=$(cached VELLUMIN_SOURCE_DATE_EPOCH "$build")
# The sources as they are (uncommitted changes too), without the build
# folders, each file with the time it is copied at.
source=$work/another/source/folder/vellumin-sources
mkdir -p "$source"
tar -C "$root" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$source" -xmf -
second=$work/b2
second_windows=$work/windows-build-two
export SOURCE_DATE_EPOCH=$epoch
cmake -S "$source" -B "$second" -G Ninja -DCMAKE_BUILD_TYPE="$(cached CMAKE_BUILD_TYPE "$build")" >/dev/null &&
  cmake --build "$second" --target vellumin-scan vellumin_ui_resources_1 -- -j2 >/dev/null ||
  { echo "FAIL: the second Linux build"; exit 1; }
cmake -S "$source" -B "$second_windows" -G Ninja -DCMAKE_BUILD_TYPE="$(cached CMAKE_BUILD_TYPE "$build_windows")" \
  -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" >/dev/null &&
  cmake --build "$second_windows" --target vellumin-scan -- -j2 >/dev/null ||
  { echo "FAIL: the second Windows build"; exit 1; }

for folder in "$build" "$build_windows"; do
  launcher=$(cached CMAKE_CXX_COMPILER_LAUNCHER "$folder")
  [ -z "$launcher" ] || echo "NOT COMPARED: $folder was built through $launcher; the programs of a second build are compared where none is used"
done
if [ -z "$(cached CMAKE_CXX_COMPILER_LAUNCHER "$build")" ]; then
  dpkg-deb --fsys-tarfile "$work/packed-once/$deb_name" | tar -xOf - ./usr/bin/vellumin-scan >"$work/packed-vellumin-scan"
  strip -o "$work/vellumin-scan" "$second/tools/vellumin-scan"
  same "vellumin-scan built in another folder" "$work/packed-vellumin-scan" "$work/vellumin-scan"
fi
if [ -z "$(cached CMAKE_CXX_COMPILER_LAUNCHER "$build_windows")" ]; then
  unzip -p "$work/packed-once/$zip_name" Vellumin/vellumin-scan.exe >"$work/packed-vellumin-scan.exe"
  x86_64-w64-mingw32-strip --strip-all -o "$work/vellumin-scan.exe" "$second_windows/tools/vellumin-scan.exe"
  same "vellumin-scan.exe built in another folder" "$work/packed-vellumin-scan.exe" "$work/vellumin-scan.exe"
fi
# The resource compiler's output without its comments, which name the
# pictures' paths and never reach the program.
for folder in "$build" "$second"; do
  grep -v '^ *//' "$folder/ui/qt/.rcc/qrc_pictures.cpp" >"$work/pictures-$(basename "$folder").cpp"
done
same "the pictures' data from the resource compiler" "$work/pictures-$(basename "$build").cpp" "$work/pictures-b2.cpp"

# --- 3. The screenshot ---
for round in 1 2; do
  bash "$root/scripts/remake-screenshot.sh" "$build" "$work/screenshot-$round.png" >/dev/null ||
    { echo "FAIL: scripts/remake-screenshot.sh"; fail=1; }
done
same "the screenshot made twice" "$work/screenshot-1.png" "$work/screenshot-2.png"
if ! cmp -s "$work/screenshot-1.png" "$root/ui/pictures/screenshot.png"; then
  echo "FAIL: ui/pictures/screenshot.png is not the window as the sources draw it: run bash scripts/remake-screenshot.sh"
  fail=1
fi

echo "Reproducibility checks took $(($(date +%s) - started)) s"
[ "$fail" -eq 0 ] && echo "reproducible packages: all checks passed"
exit "$fail"
