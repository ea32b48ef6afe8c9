#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
#   scripts/install-deps.sh test   native build and tests (cmake, g++, GoogleTest,
#                                  zlib, Fairy-Stockfish for the cross-checks,
#                                  Clang and libc++ for the portability check,
#                                  libFuzzer and its input header for the fuzz
#                                  harnesses)
#   scripts/install-deps.sh web    the browser game and its tests (Emscripten,
#                                  Node.js, Chromium, playwright-core from npm)
#   scripts/install-deps.sh all    all of the above plus the Windows program and
#                                  its end-to-end tests (mingw-w64, Wine, Xvfb,
#                                  the fonts and the zh_CN.UTF-8 locale)
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")

mode=${1:-test}
if [ "$mode" = web ] || [ "$mode" = all ]; then
  "$here/install-packages.sh" emscripten nodejs chromium python3
  # Some Node.js builds carry npm, Debian's has it as a package of its own.
  command -v npm >/dev/null || "$here/install-packages.sh" npm
  # The browser tests' driver, at the version the lock file pins.
  web=$here/../web
  if [ ! -d "$web/node_modules/playwright-core" ] ||
     [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
    npm ci --prefix "$web" --no-audit --no-fund >/dev/null
  fi
  [ "$mode" = web ] && exit 0
fi
"$here/install-packages.sh" cmake make g++ libgtest-dev zlib1g-dev fairy-stockfish \
  clang libc++-dev libc++abi-dev libclang-rt-14-dev
if [ "$mode" = all ]; then
  "$here/install-packages.sh" g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  "$here/install-wine.sh"
fi
