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
if [[ ! -f $prefix/system.reg ]]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine draws the caption buttons, menu check marks and submenu arrows with
# its Marlett font. Debian's Wine does not put it into a new prefix, and
# without it the buttons show as the letters "0 1 r".
fonts=$prefix/drive_c/windows/Fonts
if [[ -f /usr/share/wine/fonts/marlett.ttf && -d $fonts && ! -f $fonts/marlett.ttf ]]; then
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
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
} > "$reg"
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
