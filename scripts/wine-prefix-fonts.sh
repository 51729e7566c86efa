#!/usr/bin/env bash
# Makes a Wine prefix (wineboot) with the same fonts on every machine, or
# gives them to one made before, whatever fonts the machine has installed
# (other Japanese fonts, such as fonts-droid-fallback or fonts-noto-cjk,
# would take Wine's choice for Japanese text and change how wide a box or a
# label comes out):
# - Wine sees only the fonts this project installs: IPA P Gothic and IPA
#   Gothic (fonts-ipafont-gothic) and, for Latin text, DejaVu Sans
#   (fonts-dejavu-core), through a fontconfig of the prefix's own,
#   $WINEPREFIX/fontconfig/fonts.conf. Wine reads it only where FONTCONFIG_FILE
#   names it: build-windows/wine-run and scripts/test-windows.sh do, for the
#   tests' prefix. Wine records every font it finds when it makes a prefix,
#   so a prefix made here never sees another; one made before keeps what it
#   saw then.
# - "ＭＳ Ｐゴシック", the window's font, is IPA P Gothic through Wine's font
#   substitutes, as a Japanese Windows finds its own font by that name.
# - The interface fonts (status bars, hints, message boxes, the open dialog's
#   file types and names) are linked to IPA P Gothic for the characters they
#   lack, as Windows links them to its own Japanese font, so that Japanese
#   text never comes out as boxes under any code page.
# No font file is copied anywhere.
#   WINEPREFIX=... bash scripts/wine-prefix-fonts.sh
set -euo pipefail
: "${WINEPREFIX:?name the Wine prefix in WINEPREFIX}"

# The files themselves, as the packages install them.
japanese=(/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf)
latin=(/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
config=$WINEPREFIX/fontconfig
rm -rf "$config"
mkdir -p "$config/fonts"
for file in "${japanese[@]}" "${latin[@]}"; do
  [ -f "$file" ] || { echo "No $file: install fonts-ipafont-gothic and fonts-dejavu-core" >&2; exit 1; }
  ln -s "$file" "$config/fonts/"
done
# fontconfig's own rules of which family stands in for which (package
# fontconfig-config), so that a face Wine lacks falls back as under Debian's
# fontconfig, DejaVu Sans for Latin text; never the rules that font packages
# add to /etc/fonts/conf.d, nor a user's own fonts or rules.
rules=""
for rule in 30-metric-aliases 40-nonlatin 45-generic 45-latin 48-spacing 49-sansserif 60-generic 60-latin \
  65-nonlatin 90-synthetic; do
  rules+="  <include ignore_missing=\"yes\">/usr/share/fontconfig/conf.avail/$rule.conf</include>"$'\n'
done
cat >"$config/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<!-- The only fonts this Wine prefix sees (scripts/wine-prefix-fonts.sh). -->
<fontconfig>
$rules  <dir>$config/fonts</dir>
  <cachedir>$config/cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE=$config/fonts.conf
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
# The name passes through the locale's UTF-8 to the registry's UTF-16.
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ ゴシック' /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
# Wine links by the face a font resolves to: the Windows names, for where
# another Wine or a font package has them, and DejaVu Sans, what they
# resolve to here under a Western or UTF-8 code page (the open dialog's file
# types and names among them).
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in 'Tahoma' 'Microsoft Sans Serif' 'MS Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Segoe UI' 'DejaVu Sans' \
  'DejaVu Sans Bold'; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
done
