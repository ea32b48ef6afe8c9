#!/usr/bin/env bash
# Installs what running Lanterra.exe under Wine needs on Debian, skipping
# whatever is already there: Wine (64-bit), a virtual X server, the tools the
# end-to-end tests drive and look with, CJK fonts for the menus, and the
# zh_CN.UTF-8 locale, without which Wine shows the GBK texts garbled.
set -euo pipefail

packages=(wine wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-zenhei locales python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "install-wine: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null ||
    { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-wine: generating the zh_CN.UTF-8 locale" >&2
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
