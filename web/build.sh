#!/usr/bin/env bash
# Builds the browser game into a folder of static files:
#   web/build.sh [OUT]   (default build-web; the page lands in OUT/site)
# The module is compiled with Debian's Emscripten into OUT/module; the page,
# its pictures, sounds, icons, the menu (read from the Windows program's
# resource script) and the service worker are laid out around it in
# OUT/site by web/tools/make-site.mjs. The site is written afresh each time,
# so it holds exactly the files of this build.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=$(mkdir -p "${1:-$root/build-web}" && cd "${1:-$root/build-web}" && pwd)
site=$out/site
module=$out/module
jobs=${JOBS:-2}

# Debian's emcc finds its JavaScript optimiser's parser only through
# NODE_PATH, and Node 20's own fetch confuses the compiler's helper scripts.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export NODE_OPTIONS="${NODE_OPTIONS:-} --no-experimental-fetch"
# Debian's package ships its system libraries prebuilt in a frozen cache,
# so nothing is built there; EM_CACHE, if set, points emcc elsewhere.

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
emcmake cmake -S "$root" -B "$out/cmake" -DCMAKE_BUILD_TYPE=Release -DSITE_DIR="$module" \
  "${launcher[@]}" >/dev/null
cmake --build "$out/cmake" -j"$jobs"
rm -rf "$site"
node "$here/tools/make-site.mjs" "$root" "$module" "$site"
# The bytes the files hold, not the disk blocks they take.
echo "web: built $site ($(find "$site" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }') bytes)"
