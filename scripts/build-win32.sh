#!/usr/bin/env bash
# Cross-compiles Lanterra.exe with mingw-w64 and prints its path.
#
# Usage: scripts/build-win32.sh [BUILD_DIR]     (default: build-win32)
# Installs the Debian mingw-w64 toolchain and cmake when they are missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-win32}

packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake make)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "build-win32: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null ||
    { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
fi

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target Lanterra -j2 >&2
echo "$build/bin/Lanterra.exe"
