#!/usr/bin/env bash
# Times perft 5 of the start position in our generator and in Fairy-Stockfish
# and prints both times and their ratio.
set -euo pipefail
ours=${1:-build/bin/lanterra}
fsf=/usr/games/fairy-stockfish
[ -x "$fsf" ] || { echo "bench-perft: $fsf is missing (apt-get install fairy-stockfish)"; exit 1; }

now() { date +%s.%N; }
t0=$(now)
ours_nodes=$("$ours" perft 5 2>/dev/null | awk '/^nodes/ {print $2}')
t1=$(now)
fsf_nodes=$(printf 'uci\nsetoption name UCI_Variant value xiangqi\nposition startpos\ngo perft 5\nquit\n' |
            "$fsf" 2>/dev/null | awk '/Nodes searched/ {print $3}')
t2=$(now)
awk -v a="$t0" -v b="$t1" -v c="$t2" -v on="$ours_nodes" -v fn="$fsf_nodes" 'BEGIN {
  o = b - a; f = c - b;
  printf "lanterra       perft 5: %d nodes in %.2f s (%.1f Mnps)\n", on, o, on / o / 1e6;
  printf "fairy-stockfish perft 5: %d nodes in %.2f s (%.1f Mnps)\n", fn, f, fn / f / 1e6;
  printf "ratio (ours / theirs): %.2f\n", o / f;
  if (on != fn) { print "node counts differ!"; exit 1 }
}'
