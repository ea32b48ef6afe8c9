#!/usr/bin/env bash
# Serves the built page on this machine only:
#   web/serve.sh [SITE] [PORT]   (default build-web/site, port 8080)
# Any static file server will do; the page fetches nothing from elsewhere.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
site=${1:-$root/build-web/site}
port=${2:-8080}
[ -f "$site/index.html" ] || { echo "serve: no page in $site; run web/build.sh first" >&2; exit 1; }
echo "Lanterra: http://127.0.0.1:$port/   (Ctrl-C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
