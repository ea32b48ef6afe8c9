#!/usr/bin/env bash
# The wait at the top level: level 6 decisions with the book off, seed 1, on
# the middlegame positions of scripts/bench-think-positions.txt. Prints each decision's
# move, nodes and times, then the medians.
#
#   scripts/bench-think.sh [path/to/lanterra] [positions file]
#
# cpu is the process's user + system time, which other work on a shared
# machine barely changes; wall is the decision's own time as the tool
# reports it, which is what a player waits.
set -euo pipefail
tool=${1:-build/bin/lanterra}
positions=${2:-$(dirname "$0")/../scripts/bench-think-positions.txt}
[ -x "$tool" ] || { echo "bench-think: $tool is missing (make build)"; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
TIMEFORMAT='%U %S'

while read -r game fen; do
  case "$game" in '#'* | '') continue ;; esac
  # shellcheck disable=SC2086  # the FEN and moves are words for the tool
  { time "$tool" think --level ${THINK_LEVEL:-6} --seed 1 --no-book $fen >"$tmp/out" 2>"$tmp/err"; } 2>"$tmp/time"
  read -r user sys <"$tmp/time"
  awk -v game="$game" -v user="$user" -v sys="$sys" '
    FNR == NR { for (i = 1; i < NF; ++i) f[$i] = $(i + 1); next }
    /^time/ { wall = $2 }
    END {
      printf "game %5d  bestmove %s depth %2d nodes %9d  cpu %6.2f s  wall %6.2f s\n",
             game, f["bestmove"], f["depth"], f["nodes"], user + sys, wall
    }' "$tmp/out" "$tmp/err"
done <"$positions" | tee "$tmp/table"

awk '
  function median(a, n, i, j, t) {
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  { cpu[NR] = $10; wall[NR] = $13; nodes += $8 }
  END { printf "median cpu %.2f s  wall %.2f s  (%d decisions, %d nodes)\n", median(cpu, NR), median(wall, NR), NR, nodes }
' "$tmp/table"
