#!/usr/bin/env bash
# Cross-compiles Lanterra.exe with mingw-w64 and prints its path.
#
# Usage: scripts/build-win32.sh [BUILD_DIR]     (default: build-win32)
# Installs the Debian mingw-w64 toolchain and cmake when they are missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-win32}

"$root/scripts/install-packages.sh" g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake make

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target Lanterra -j2 >&2
echo "$build/bin/Lanterra.exe"
