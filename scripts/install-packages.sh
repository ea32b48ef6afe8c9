#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet, and nothing
# else; every script that needs packages goes through here.
#   scripts/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0

echo "installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
# The package lists of a fresh machine may be missing or stale: update them
# when the first attempt fails.
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1 ||
  { $sudo apt-get update -qq >/dev/null && $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; }
