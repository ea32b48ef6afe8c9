#!/usr/bin/env bash
# The engine must decide the same wherever it is built. Builds the tool with
# Clang and libc++ (the standard library of macOS and of WebAssembly builds)
# and checks that its bench signature is the one in the README, which the
# GCC and libstdc++ build is tested against.
#   scripts/test-libcxx.sh [BUILD_DIR]    default build-libcxx
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-libcxx}
jobs=$(nproc 2>/dev/null || echo 2)

CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DLANTERRA_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="-stdlib=libc++" -DCMAKE_EXE_LINKER_FLAGS="-stdlib=libc++" >/dev/null
cmake --build "$build" -j"$jobs" --target lanterra
want=$(sed -n 's/^Signature: \([0-9]*\)$/\1/p' README.md)
got=$("$build/bin/lanterra" bench | sed -n 's/^bench: nodes \([0-9]*\) .*/\1/p')
if [[ -z $want || $got != "$want" ]]; then
  echo "test-libcxx: bench signature with libc++ is '$got', the README says '$want'" >&2
  exit 1
fi
echo "test-libcxx: bench signature with libc++ is $got, as in the README"
