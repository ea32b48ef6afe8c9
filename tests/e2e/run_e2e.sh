#!/usr/bin/env bash
# Runs end-to-end tests of Lanterra.exe under Wine in a private X server.
#
# Usage: tests/e2e/run_e2e.sh WORK_DIR setup     install, build the game and
#                                                the probe, make the Wine prefix
#        tests/e2e/run_e2e.sh WORK_DIR GROUP...  run test groups of e2e.py
# Screenshots are kept in WORK_DIR/artifacts. Every Xvfb and Wine process
# started here is ended on the way out.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mkdir -p "$1" && cd "$1" && pwd); shift

export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export E2E_EXE=$work/win32/bin/Lanterra.exe E2E_PROBE=$work/probe.exe
export E2E_RESOURCES=$root/resources E2E_ARTIFACTS=$work/artifacts
export E2E_TOOL=${E2E_TOOL:-$root/build/bin/lanterra}
mkdir -p "$E2E_ARTIFACTS"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "run_e2e: could not start Xvfb" >&2
  return 1
}

if [[ ${1:-} == setup ]]; then
  "$root/scripts/install-wine.sh"
  "$root/scripts/build-win32.sh" "$work/win32" >/dev/null
  x86_64-w64-mingw32-g++-posix -O1 -static -o "$E2E_PROBE" "$here/probe.cpp"
  start_xvfb
  "$root/scripts/wine-prefix.sh" "$WINEPREFIX" --desktop 1024x768 --no-audio
  # Wine builds its font cache the first time a program draws; with many
  # fonts installed that takes a while, so do it here, once, not in a test.
  (cd "$(dirname "$E2E_EXE")" && wine "$E2E_EXE" >/dev/null 2>&1 &)
  timeout 300 wine "$E2E_PROBE" window 240 >/dev/null || echo "run_e2e: the game did not start" >&2
  wineserver -k >/dev/null 2>&1 || true
  echo "run_e2e: ready: $E2E_EXE"
  exit 0
fi

[[ -f $E2E_EXE && -f $E2E_PROBE && -f $WINEPREFIX/system.reg ]] ||
  { echo "run_e2e: run '$0 $work setup' first" >&2; exit 1; }
start_xvfb
wineserver -p5 >/dev/null 2>&1 || true
python3 "$here/e2e.py" "$@"
