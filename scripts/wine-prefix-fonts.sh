#!/usr/bin/env bash
# Maps the window's font "ＭＳ Ｐゴシック" to IPA P Gothic (fonts-ipafont-gothic)
# in a Wine prefix, through Wine's font substitutes, as a Japanese Windows
# would find its own font by that name, and links the interface fonts to it
# (below). No font file is copied anywhere.
#   WINEPREFIX=... bash scripts/wine-prefix-fonts.sh
set -euo pipefail
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
# The name passes through the locale's UTF-8 to the registry's UTF-16.
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ ゴシック' /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
# Windows shows Japanese in its own interface fonts (status bars, hints,
# message boxes) through font linking, on a Western Windows too. A fresh Wine
# prefix links them to Japanese font files it does not have, so under another
# code page those texts would come out as boxes; link the interface faces to
# IPA P Gothic instead, as Windows links them to its own Japanese font.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in 'Tahoma' 'Microsoft Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Segoe UI'; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
done
