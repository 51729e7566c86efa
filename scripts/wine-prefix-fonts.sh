#!/usr/bin/env bash
# Maps the window's font "ＭＳ Ｐゴシック" to IPA P Gothic (fonts-ipafont-gothic)
# in a Wine prefix, through Wine's font substitutes, as a Japanese Windows
# would find its own font by that name. No font file is copied anywhere.
#   WINEPREFIX=... bash scripts/wine-prefix-fonts.sh
set -euo pipefail
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
# The name passes through the locale's UTF-8 to the registry's UTF-16.
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1
LC_ALL=ja_JP.UTF-8 wine reg add "$key" /v 'ＭＳ ゴシック' /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
