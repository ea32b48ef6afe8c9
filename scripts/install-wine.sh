#!/usr/bin/env bash
# Installs what running Lanterra.exe under Wine needs on Debian, skipping
# whatever is already there: Wine (64-bit), a virtual X server, the tools the
# end-to-end tests drive and look with, the Chinese face that
# scripts/wine-prefix.sh gives the menus and boxes (WenQuanYi Micro Hei),
# Wine's own fonts (its Marlett draws the caption buttons), and the
# zh_CN.UTF-8 locale, without which Wine shows the GBK texts garbled.
set -euo pipefail

"$(dirname "${BASH_SOURCE[0]}")/install-packages.sh" \
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei locales python3

# The locale list belongs to root, as the packages do: a user who is not
# root edits it and generates the locale through sudo.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-wine: generating the zh_CN.UTF-8 locale" >&2
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
