#!/usr/bin/env bash
# Cross-builds the Windows programs and runs their tests under Wine, in a Wine
# prefix made for the tests inside the build folder (never the user's own).
#   bash scripts/test-windows.sh [BUILD_FOLDER] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true
# Wine takes only an absolute prefix.
mkdir -p "$build"
build=$(cd "$build" && pwd)
started=$(date +%s)

# The window's tests show windows: without a display, everything below runs
# under Xvfb, the prefix's own start included, since Wine's desktop process
# keeps the display it was started with.
if [ -z "${VELLUMIN_UNDER_XVFB:-}" ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  VELLUMIN_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" "$build" "$@"
fi

bash "$root/scripts/build-windows.sh" "$build" "$@"

export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
# A fresh prefix for every run, made once before the tests; one Wine server
# for all of them, stopped at the end whatever happens.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
make_prefix() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p
  # Made under a fontconfig of its own, the prefix sees only the project's
  # fonts, the window's "ＭＳ Ｐゴシック" as IPA P Gothic, as on Linux.
  bash "$root/scripts/wine-prefix-fonts.sh"
  # No window manager runs under Xvfb: Wine's windows are left unmanaged, or
  # Wine waits two seconds for a manager's answer each time a window goes.
  FONTCONFIG_FILE=$WINEPREFIX/fontconfig/fonts.conf \
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  touch "$WINEPREFIX/.vellumin-made"
}
make_prefix
status=0
ctest --test-dir "$build" --output-on-failure -j2 || status=$?

# Nothing the tests see may depend on the fonts the machine has: once more,
# the window's tests under every code page (its sizes and fonts among them),
# in a prefix made where the machine's fontconfig offers other Japanese and
# Latin fonts as well, as the Debian packages that Wine or a desktop pull in
# would. They are unpacked into the build folder, never installed; without
# a network this is skipped, and says so.
other_fonts=$build/other-fonts
if [ ! -f "$other_fonts/fonts.conf" ]; then
  rm -rf "$other_fonts"
  mkdir -p "$other_fonts/debs"
  if (cd "$other_fonts/debs" &&
    apt-get download fonts-droid-fallback fonts-noto-cjk fonts-liberation2 fonts-dejavu-extra >/dev/null 2>&1); then
    for deb in "$other_fonts"/debs/*.deb; do dpkg -x "$deb" "$other_fonts/files"; done
    cat >"$other_fonts/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <include ignore_missing="yes">$other_fonts/files/etc/fonts/conf.d</include>
  <dir>$other_fonts/files/usr/share</dir>
  <cachedir>$other_fonts/cache</cachedir>
</fontconfig>
EOF
  fi
fi
if [ -f "$other_fonts/fonts.conf" ]; then
  echo "=== Again, in a prefix made beside other fonts: $(cd "$other_fonts/debs" && ls | sed 's/_.*//' | paste -sd' ')"
  FONTCONFIG_FILE=$other_fonts/fonts.conf make_prefix
  ctest --test-dir "$build" --output-on-failure -j2 -R '^vellumin_win32_ui_tests' || status=$?
else
  echo "=== Not tested beside other fonts: they could not be downloaded"
fi
echo "Windows tests took $(($(date +%s) - started)) s (build included)"
exit "$status"
