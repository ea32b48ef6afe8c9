#!/usr/bin/env bash
# Builds Lanterra.exe and starts it: directly on Windows (Git Bash or MSYS2
# with CMake and MinGW), under Wine elsewhere. On Debian it installs Wine, the
# CJK fonts and the zh_CN.UTF-8 locale when they are missing, builds, and
# only then needs an X display; it runs with LANG=zh_CN.UTF-8 so that the GBK
# menu and message texts show.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    build=$root/build-windows
    cmake -S "$root" -B "$build" -G "MinGW Makefiles" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build" --target Lanterra -j2
    exec "$build/bin/Lanterra.exe"
    ;;
esac

"$root/scripts/install-wine.sh"
exe=$("$root/scripts/build-win32.sh" "$root/build-win32")
# Built before the display is looked for, so that a start without one (over
# ssh, say) still leaves the program ready for a desktop session.
if [[ -z ${DISPLAY:-} ]]; then
  echo "play: built $exe, but starting it needs an X display and DISPLAY is empty." >&2
  echo "play: run make play from a desktop session, or play in a browser: make web" >&2
  exit 1
fi
prefix=$root/build-win32/wineprefix
# Without a sound device Wine's sound driver fills the terminal with ALSA
# errors at every sound, so the prefix then gets no driver at all. A sound
# server (PulseAudio, PipeWire) may play without a local ALSA device.
audio=(--no-audio)
if compgen -G '/dev/snd/pcmC*p' >/dev/null || [[ -n ${PULSE_SERVER:-} ]] ||
   [[ -S ${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native ]]; then
  audio=()
fi
"$root/scripts/wine-prefix.sh" "$prefix" "${audio[@]}"
cd "$(dirname "$exe")"
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  exec wine explorer /desktop=Lanterra,800x680 Lanterra.exe
