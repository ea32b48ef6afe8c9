#!/usr/bin/env bash
# Creates a Wine prefix for Lanterra once and reuses it: Wine's first start
# (wineboot) takes several seconds, later starts take well under one.
#
# Usage: scripts/wine-prefix.sh PREFIX [--desktop WxH] [--no-audio]
#   --desktop WxH  every program runs in one virtual desktop of that size, so
#                  Wine draws the caption and menu bar itself and the program's
#                  exit code still reaches the caller of `wine`
#   --no-audio     no sound driver (for machines without a sound device)
# Needs DISPLAY (wineboot opens no window, but Wine wants an X server).
set -euo pipefail

prefix=$1; shift
desktop=""; audio=1
while (($#)); do
  case $1 in
    --desktop) desktop=$2; shift 2 ;;
    --no-audio) audio=0; shift ;;
    *) echo "wine-prefix: unknown option $1" >&2; exit 2 ;;
  esac
done

export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: the game needs neither, and fetching them would fail offline.
export WINEDLLOVERRIDES="mscoree,mshtml="
# wineboot takes the size of the menu and box fonts (9 points for Chinese, 8
# otherwise), their character set and the keyboard layout from the locale it
# runs in, so the prefix is made in the Chinese locale the game runs in,
# whatever the caller's. A prefix made in another locale, by an earlier
# version of this script, is made afresh: it holds nothing of the player's.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
stamp=$prefix/lanterra-locale
if [[ -f $prefix/system.reg && -d $prefix/drive_c && $(cat "$stamp" 2>/dev/null) != "$LANG" ]]; then
  echo "wine-prefix: making $prefix afresh in the $LANG locale" >&2
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi
if [[ ! -f $prefix/system.reg ]]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  echo "$LANG" > "$stamp"
fi
# Wine draws the caption buttons, menu check marks and submenu arrows with
# its Marlett font. Debian's Wine does not put it into a new prefix, and
# without it the buttons show as the letters "0 1 r".
fonts=$prefix/drive_c/windows/Fonts
if [[ -f /usr/share/wine/fonts/marlett.ttf && -d $fonts && ! -f $fonts/marlett.ttf ]]; then
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

# The menus, captions and message boxes ask for Tahoma or a Chinese UI face.
# Wine has no such face with Chinese glyphs and takes what fontconfig offers
# in its place, on Debian often the bitmap variant of WenQuanYi Zen Hei,
# whose small glyphs break up (再来 reads like 再天). One hinted outline face
# for all of them, drawn smoothed, reads cleanly at the menus' 12 pixels;
# scripts/install-wine.sh installs it.
ui_face="WenQuanYi Micro Hei"

settings() {
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  local face
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "SimSun" "NSimSun" "宋体" "Microsoft YaHei"; do
    printf '"%s"="%s"\r\n' "$face" "$ui_face"
  done
  # ClearType, Windows' own default; where Wine draws no subpixels (as in
  # Xvfb) it still smooths in gray.
  printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"FontSmoothing"="2"\r\n'
  printf '"FontSmoothingType"=dword:00000002\r\n"FontSmoothingGamma"=dword:00000578\r\n'
  printf '"FontSmoothingOrientation"=dword:00000001\r\n\r\n'
  if [[ -n $desktop ]]; then
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n' "$desktop"
  else
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"=-\r\n\r\n'
  fi
  if ((audio)); then
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Audio"=-\r\n\r\n'
  else
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Audio"=""\r\n\r\n'
  fi
}

# Applied on every start, so an existing prefix takes up changed settings.
# regedit reads a non-ASCII name (宋体) only from a UTF-16 file that starts
# with a byte order mark.
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{ printf '\xff\xfe'; settings | iconv -f UTF-8 -t UTF-16LE; } > "$reg"
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
