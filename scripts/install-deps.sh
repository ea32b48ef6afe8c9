#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
#   scripts/install-deps.sh test   native build and tests (cmake, g++, GoogleTest,
#                                  zlib, Fairy-Stockfish for the cross-checks,
#                                  Clang and libc++ for the portability check)
#   scripts/install-deps.sh all    the above plus the Windows program and its
#                                  end-to-end tests (mingw-w64, Wine, Xvfb, the
#                                  fonts and the zh_CN.UTF-8 locale)
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")

"$here/install-packages.sh" cmake make g++ libgtest-dev zlib1g-dev fairy-stockfish \
  clang libc++-dev libc++abi-dev
if [ "${1:-test}" = all ]; then
  "$here/install-packages.sh" g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  "$here/install-wine.sh"
fi
