#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
#   scripts/install-deps.sh test   native build and tests (cmake, g++, GoogleTest,
#                                  zlib, Fairy-Stockfish for the cross-checks)
#   scripts/install-deps.sh all    the above plus the end-to-end tests of the
#                                  Windows program (mingw-w64, Wine, Xvfb, ...)
set -euo pipefail
what=${1:-test}

packages=(cmake make g++ libgtest-dev zlib1g-dev fairy-stockfish)
if [ "$what" = all ]; then
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine, Xvfb, the fonts and the zh_CN.UTF-8 locale for the Windows program.
if [ "$what" = all ]; then
  "$(dirname "$0")/install-wine.sh"
fi
