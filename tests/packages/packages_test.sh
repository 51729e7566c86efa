#!/usr/bin/env bash
# Checks the packages a user installs, made from the two build folders that
# the tests ran in (no second build): the Debian package's fields, files and
# validators, and the Windows zip's files, resources and scanner under Wine.
#   bash tests/packages/packages_test.sh BUILD BUILD_WINDOWS
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
build_windows=$(cd "$2" && pwd)
started=$(date +%s)

bash "$root/scripts/install-deps-packages.sh" || exit 1
fail=0

# --- The sources ---
# No archive or package among the sources: every source archive would carry
# it, and nothing builds it. The tracked files when this is a clone, else
# (a source archive unpacked) every file outside the build folders.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  sources=$(git -C "$root" ls-files)
else
  sources=$(cd "$root" && find . -path './build*' -prune -o -type f -print | sed 's|^\./||')
fi
archives=$(printf '%s\n' "$sources" | grep -iE '\.(deb|udeb|rpm|zip|7z|tgz|tbz2?|txz|tar)$|\.tar\.[^/]+$')
if [ -n "$archives" ]; then
  printf 'FAIL: archives or packages among the sources:\n%s\n' "$archives"
  fail=1
fi

cmake --build "$build" --target vellumin-deb >/dev/null || exit 1
cmake --build "$build_windows" --target vellumin-zip >/dev/null || exit 1

version=$(sed -n 's/^#define VELLUMIN_VERSION "\(.*\)"$/\1/p' "$build/generated/vellumin_version.h")
app_id=$(sed -n 's/^VELLUMIN_APP_ID:STRING=//p' "$build/CMakeCache.txt")
deb=$build/vellumin_${version}_amd64.deb
zip=$build_windows/Vellumin-${version}-windows-x64.zip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() { # description, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL: %s\nexpected:\n%s\nactual:\n%s\n' "$1" "$2" "$3"
    fail=1
  fi
}
quiet() { # description, command...: passes when the command succeeds silently
  local description=$1 output
  shift
  if ! output=$("$@" 2>&1) || [ -n "$output" ]; then
    printf 'FAIL: %s\n%s\n' "$description" "$output"
    fail=1
  fi
}

# --- The Debian package ---
check "package fields" "vellumin $version amd64 utils" \
  "$(dpkg-deb -f "$deb" Package Version Architecture Section | cut -d' ' -f2 | paste -sd' ')"
# Dependencies come from what the programs link, so Qt and the C library are
# named with the versions they were built against.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libstdc++6 liburing2; do
  case ", $depends" in *", $library ("*) ;; *) check "depends on $library" "$library (>= ...)" "$depends" ;; esac
done
# HELP opens README.TXT through xdg-open where it is installed.
check "recommends" "fonts-ipafont-gothic, xdg-utils" "$(dpkg-deb -f "$deb" Recommends)"

listing=$(dpkg-deb -c "$deb")
check "every file root's, 0644 or 0755" "" \
  "$(printf '%s\n' "$listing" | awk '$2 != "root/root" || ($1 != "-rw-r--r--" && $1 != "-rwxr-xr-x" && $1 != "drwxr-xr-x")')"
icons=""
for size in 16 24 32 48 64 128 256; do icons+="./usr/share/icons/hicolor/${size}x${size}/apps/vellumin.png"$'\n'; done
samples=$(cd "$root/examples/cookies" && ls)
check "the package's files" "$(sort <<EOF
./usr/bin/vellumin
./usr/bin/vellumin-scan
./usr/share/applications/vellumin.desktop
./usr/share/doc/vellumin/README.TXT
./usr/share/doc/vellumin/README.md
./usr/share/doc/vellumin/changelog.gz
./usr/share/doc/vellumin/copyright
./usr/share/doc/vellumin/screenshot.png
$(printf './usr/share/doc/vellumin/examples/cookies/%s\n' $samples)
${icons}./usr/share/lintian/overrides/vellumin
./usr/share/man/man1/vellumin-scan.1.gz
./usr/share/man/man1/vellumin.1.gz
./usr/share/metainfo/$app_id.metainfo.xml
EOF
)" "$(printf '%s\n' "$listing" | awk '$1 !~ /^d/ {print $6}' | sort)"

tree=$work/deb
dpkg-deb -x "$deb" "$tree"
check "the packaged scanner runs and tells the version" "vellumin-scan $version" "$("$tree/usr/bin/vellumin-scan" --version)"
for program in vellumin vellumin-scan; do
  check "$program is stripped" "" "$(readelf -S "$tree/usr/bin/$program" | grep -oE '\.(symtab|debug_info)')"
  page=$tree/usr/share/man/man1/$program.1.gz
  check "$program(1) is of this version" "\"Vellumin $version\"" "$(zcat "$page" | sed -n 1p | grep -o '"Vellumin [^"]*"')"
  check "$program(1) renders without warnings" "" \
    "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)"
  # Without LANG man drops the Japanese: an English gloss in brackets follows
  # every Japanese label, and no quotes are left empty.
  check "$program(1) glosses its Japanese for a locale without it" "" "$(python3 "$here/manual_glosses.py" "$page")"
done
check "the sample folder is the repository's" "" \
  "$(diff -r "$root/examples/cookies" "$tree/usr/share/doc/vellumin/examples/cookies" 2>&1)"
# The licence: MIT, in the machine-readable copyright format, its text the
# one in LICENSE after the copyright line.
check "copyright: the format, MIT (Expat) for every file, the licence's text" "ok" \
  "$(python3 - "$tree/usr/share/doc/vellumin/copyright" "$root/LICENSE" <<'EOF'
import re, sys
paragraphs = [p for p in open(sys.argv[1]).read().split("\n\n") if p.strip()]
fields = lambda p: dict(re.findall(r"^([A-Za-z-]+): ?(.*(?:\n .*)*)", p, re.M))
header, files, licence = (fields(p) for p in paragraphs)
licence_text = "\n".join("" if l == "." else l for l in
    (line[1:] for line in licence["License"].split("\n")[1:]))
want = open(sys.argv[2]).read().split("\n\n", 2)[2].strip()
problems = []
if header.get("Format") != "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/": problems.append("format")
if files.get("Files") != "*" or files.get("License") != "Expat": problems.append("files paragraph")
if files.get("Copyright") != "2026 The Vellumin authors": problems.append("copyright line")
if licence["License"].split("\n")[0] != "Expat" or licence_text != want: problems.append("licence text")
print(" ".join(problems) or "ok")
EOF
)"
check "the help file is the built one" "" "$(cmp "$build/ui/README.TXT" "$tree/usr/share/doc/vellumin/README.TXT" 2>&1)"
quiet "the menu entry is valid" desktop-file-validate "$tree/usr/share/applications/vellumin.desktop"
metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream" 2>&1 || { fail=1; echo "FAIL: metainfo"; cat "$work/appstream"; }
check "metainfo: its id, the menu entry it launches, its release, its licence" \
  "$app_id vellumin.desktop $version MIT" \
  "$(python3 - "$metainfo" <<'EOF'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
print(root.findtext("id"), root.findtext("launchable"), root.find("releases/release").get("version"),
      root.findtext("project_license"))
EOF
)"
check "metainfo: summaries in Japanese and English, no address" "summary en ja" \
  "$(python3 - "$metainfo" <<'EOF'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
lang = lambda e: e.get("{http://www.w3.org/XML/1998/namespace}lang", "en")
print("summary", *sorted(lang(e) for e in root.findall("summary")),
      *(e.tag for e in root.iter() if e.tag in ("url", "screenshots", "image")))
EOF
)"
# The project has no homepage, repository or e-mail address: the package
# names none. The one address it holds is the copyright format's, beside the
# documentation's examples on the reserved example domains.
check "no Homepage, a maintainer without an address" "|The Vellumin authors" \
  "$(dpkg-deb -f "$deb" Homepage)|$(dpkg-deb -f "$deb" Maintainer)"
check "the addresses in the package's files" "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$( (dpkg-deb -I "$deb" control; zcat "$tree/usr/share/doc/vellumin/changelog.gz" "$tree"/usr/share/man/man1/*.gz
      find "$tree" -type f ! -name '*.gz' ! -name '*.png' -exec cat {} +) | grep -aoE 'https?://[^] <>")`]+' |
      grep -vE '^https?://([^/]*\.)?example\.(com|net|org)(/|$)' | sort -u)"
check "no e-mail address in the control file, copyright or changelog" "" \
  "$( (dpkg-deb -I "$deb" control; cat "$tree/usr/share/doc/vellumin/copyright"
      zcat "$tree/usr/share/doc/vellumin/changelog.gz") | grep -E '<[^>]*@[^>]*>')"

# Installing claims no kind of file: the program a desktop opens folders
# with stays what it was, whether a file manager is installed or none is.
# The menu entry goes where the package puts it and the desktop database is
# remade, as Debian's trigger does after installing.
default_folder_handler() { # data directory
  env -i PATH=/usr/bin:/bin HOME="$work/mime-home" XDG_DATA_HOME="$work/mime-home/share" \
    XDG_CONFIG_HOME="$work/mime-home/config" XDG_CONFIG_DIRS="$work/mime-home/etc" XDG_DATA_DIRS="$1" \
    xdg-mime query default inode/directory
}
# A file manager named to sort after Vellumin: the first of two claims wins.
for file_manager in "" zz-file-manager.desktop; do
  data=$work/mime-${file_manager:-none}
  mkdir -p "$data/applications"
  if [ -n "$file_manager" ]; then
    printf '[Desktop Entry]\nType=Application\nName=Files\nExec=files %%U\nMimeType=inode/directory;\n' \
      >"$data/applications/$file_manager"
  fi
  update-desktop-database "$data/applications"
  before=$(default_folder_handler "$data")
  cp "$tree/usr/share/applications/vellumin.desktop" "$data/applications/"
  update-desktop-database "$data/applications"
  check "the default for folders after installing (file manager: ${file_manager:-none})" \
    "$before" "$(default_folder_handler "$data")"
done
check "the menu entry's icon" "Icon=vellumin" "$(grep '^Icon=' "$tree/usr/share/applications/vellumin.desktop")"
for size in 16 24 32 48 64 128 256; do
  check "icon ${size}x${size}" "${size}x${size} 8-bit srgba" \
    "$(identify -format '%wx%h %z-bit %[channels]' "$tree/usr/share/icons/hicolor/${size}x${size}/apps/vellumin.png")"
done
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || { fail=1; echo "FAIL: lintian"; }
grep -v '^running with root privileges' "$work/lintian"

# --- The Windows zip ---
check "the zip's files" "$( (printf 'Vellumin/\nVellumin/LICENSE.TXT\nVellumin/README.TXT\nVellumin/examples/\n'
    printf 'Vellumin/examples/cookies/\nVellumin/vellumin-scan.exe\nVellumin/vellumin-scan.txt\nVellumin/vellumin.exe\n'
    printf 'Vellumin/examples/cookies/%s\n' $samples) | LC_ALL=C sort)" \
  "$(unzip -Z1 "$zip" | LC_ALL=C sort)"
unzip -q "$zip" -d "$work/zip"
folder=$work/zip/Vellumin
# The help file as Notepad reads it under any code page: UTF-8 with a
# byte-order mark, every line ending in CR LF; the help file's own text, its
# section on the Windows cookie folder before the Linux one.
check "README.TXT: a byte-order mark, UTF-8, CR LF, the help file with Windows first" "ok" \
  "$(python3 - "$folder/README.TXT" "$build_windows/ui/README.TXT" <<'EOF'
import re, sys
data = open(sys.argv[1], "rb").read()
problems = []
if not data.startswith(b"\xef\xbb\xbf") or data[3:].startswith(b"\xef\xbb\xbf"):
    problems.append("not one byte-order mark at the start")
try:
    text = data[3:].decode("utf-8")
except UnicodeDecodeError as error:
    problems.append(f"not UTF-8: {error}")
    text = ""
if text.count("\n") != text.count("\r\n") or text.count("\r") != text.count("\r\n") or not text.endswith("\r\n"):
    problems.append("a line not ending in CR LF")
# Sections begin at a line starting with the square mark.
sections = re.split(r"(?m)^(?=\u25a0)", open(sys.argv[2], encoding="utf-8").read())
linux = next(i for i, s in enumerate(sections) if s.split("\n")[0].endswith("\uff08Linux\uff09"))
windows = next(i for i, s in enumerate(sections) if s.split("\n")[0].endswith("\uff08Windows\uff09"))
sections.insert(linux, sections.pop(windows))
if text.replace("\r\n", "\n") != "".join(sections):
    problems.append("not the help file with the Windows section first")
print(" ".join(problems) or "ok")
EOF
)"
check "LICENSE.TXT is LICENSE with CR LF" "" "$(sed 's/\r$//' "$folder/LICENSE.TXT" | cmp - "$root/LICENSE" 2>&1)"
check "LICENSE.TXT's lines end in CR LF" "$(wc -l <"$folder/LICENSE.TXT")" "$(grep -c $'\r$' "$folder/LICENSE.TXT")"
check "the zip's sample folder is the repository's" "" "$(diff -r "$root/examples/cookies" "$folder/examples/cookies" 2>&1)"
# The scanner's manual, as man shows the page: UTF-8 with a byte-order mark
# for Notepad, CR LF, every section of the page, options typable as shown.
manual=$folder/vellumin-scan.txt
check "vellumin-scan.txt: a byte-order mark, CR LF" "efbbbf $(wc -l <"$manual")" \
  "$(head -c3 "$manual" | od -An -tx1 | tr -d ' \n') $(grep -c $'\r$' "$manual")"
check "vellumin-scan.txt: the manual page's sections" \
  "$(grep '^\.SH ' "$root/tools/vellumin-scan.1.in" | sed 's/^\.SH //; s/"//g')" \
  "$(sed 's/\r$//' "$manual" | grep -E '^[A-Z][A-Z ]+$')"
check "vellumin-scan.txt: plain hyphens" "" "$(grep -n -e '‐' -e '−' "$manual")"

for program in vellumin vellumin-scan; do
  exe=$folder/$program.exe
  # Static runtimes: nothing beside the programs but Windows itself.
  check "$program.exe needs no MinGW runtime DLL" "" \
    "$(x86_64-w64-mingw32-objdump -p "$exe" | grep -iE 'DLL Name: *lib(stdc\+\+|gcc|winpthread)')"
  wrestool --raw -x -t16 "$exe" >"$work/version.res"
  facts=$(python3 "$here/windows_resources.py" version "$work/version.res")
  expected="fixed ${version%%.*}.${version#*.}.0.0"
  for block in 041104B0 040904B0; do
    expected+=$'\n'"$block FileVersion=$version"$'\n'"$block OriginalFilename=$program.exe"
    expected+=$'\n'"$block ProductName=Vellumin"$'\n'"$block ProductVersion=$version"
  done
  expected+=$'\n'"translation 0411 04b0"$'\n'"translation 0409 04b0"
  check "$program.exe's version information" "$expected" \
    "$(printf '%s\n' "$facts" | grep -E '^fixed |FileVersion=|OriginalFilename=|ProductName=|ProductVersion=|^translation ')"
  japanese=$(printf '%s\n' "$facts" | sed -n 's/^041104B0 FileDescription=//p')
  english=$(printf '%s\n' "$facts" | sed -n 's/^040904B0 FileDescription=//p')
  check "$program.exe: MIT in its copyright, in both languages" "2" \
    "$(printf '%s\n' "$facts" | grep -cE '^04(11|09)04B0 LegalCopyright=Copyright \(c\) 2026 The Vellumin authors \(MIT ')"
  check "$program.exe describes itself in Japanese and in English" "two descriptions" \
    "$([ -n "$english" ] && [ "$japanese" != "$english" ] && printf '%s' "$japanese" | grep -qP '[^\x00-\x7F]' && echo two descriptions)"
done

exe=$folder/vellumin.exe
wrestool -x -t14 "$exe" >"$work/vellumin.ico"
check "vellumin.exe's icon" "$(printf -- '16 32\n32 32\n48 32\n256 32')" \
  "$(icotool -l "$work/vellumin.ico" 2>/dev/null | sed -E 's/.*--width=([0-9]+).*--bit-depth=([0-9]+).*/\1 \2/')"
wrestool --raw -x -t24 "$exe" >"$work/manifest.xml"
check "vellumin.exe's manifest" "identity ${version%%.*}.${version#*.}.0.0
supportedOS {e2011457-1546-43c5-a5fe-008deee3d3f0}
supportedOS {35138b9a-5d96-4fbd-8e2d-a2440225f93a}
supportedOS {4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}
supportedOS {1f676c76-80e1-4239-95bb-83d0f6d0da78}
supportedOS {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}
dpiAware true
dpiAwareness system" "$(python3 "$here/windows_resources.py" manifest "$work/manifest.xml")"

check "vellumin-scan.exe from the zip under Wine" "vellumin-scan $version" \
  "$("$build_windows/wine-run" "$folder/vellumin-scan.exe" --version | tr -d '\r')"
check "vellumin-scan.exe --help names the manual beside it" "See vellumin-scan.txt beside the program." \
  "$("$build_windows/wine-run" "$folder/vellumin-scan.exe" --help | tr -d '\r' | tail -n 1)"
WINEPREFIX=$build_windows/wine-prefix wineserver -k >/dev/null 2>&1 || true

echo "Package tests took $(($(date +%s) - started)) s"
[ "$fail" -eq 0 ] && echo "packages: all checks passed"
exit "$fail"
