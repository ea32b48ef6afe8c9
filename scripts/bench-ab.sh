#!/usr/bin/env bash
# A/B speed of the command-line tool against an earlier commit, measured in
# one run: builds BASE's tool in a temporary worktree (removed afterwards),
# then runs the base's bench and ours alternately and prints the median of
# the pairs' speed ratios (ours / base; above 1 means we are faster).
#
#   scripts/bench-ab.sh BASE [path/to/lanterra]
#
# BASE may also be the path of an already built tool, which is then used as
# it is.
#
# Environment:
#   AB_BENCH  bench: lanterra bench, speed = nodes per cpu second     bench
#             perft: lanterra perft 5, speed = 1 / cpu seconds
#             think: scripts/bench-think.sh, speed = nodes per cpu second
#   AB_PAIRS  pairs of runs                                           3
#
# Times are the process's user + system time: the machine is shared, and
# cpu time is far less disturbed by other work than the wall clock. Both
# sides must count the same nodes; the script says so when they do not.
set -euo pipefail
base=${1:?usage: bench-ab.sh BASE [path/to/lanterra]}
ours=${2:-build/bin/lanterra}
bench=${AB_BENCH:-bench}
pairs=${AB_PAIRS:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
[ -x "$ours" ] || { echo "bench-ab: $ours is missing (make build)"; exit 1; }
ours=$(cd "$(dirname "$ours")" && pwd)/$(basename "$ours")
if [ -x "$base" ] && [ -f "$base" ]; then
  baseTool=$(cd "$(dirname "$base")" && pwd)/$(basename "$base")
  label=$base
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
else
  commit=$(git -C "$root" rev-parse --verify "$base^{commit}")
  label=${commit:0:12}
  # The temporary worktree lives inside the build folder, under the same root
  # as the sources, so that ccache finds the objects the two trees share.
  mkdir -p "$root/build"
  tmp=$(mktemp -d "$root/build/bench-ab.XXXXXX")
  cleanup() {
    git -C "$root" worktree remove --force "$tmp/src" 2>/dev/null || true
    rm -rf "$tmp"
  }
  trap cleanup EXIT
  echo "bench-ab: building $label in $tmp/src"
  git -C "$root" worktree add --quiet --detach "$tmp/src" "$commit"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$tmp/src" -B "$tmp/build" -DCMAKE_BUILD_TYPE=Release -DLANTERRA_TESTS=OFF "${launcher[@]}" >/dev/null
  cmake --build "$tmp/build" -j"$(nproc 2>/dev/null || echo 2)" --target lanterra >/dev/null
  baseTool="$tmp/build/bin/lanterra"
fi

TIMEFORMAT='%U %S'
# Runs one bench with the given tool; prints "nodes cpu-seconds".
run() {
  local tool=$1 nodes
  case "$bench" in
    bench)
      { time "$tool" bench >"$tmp/out" 2>/dev/null; } 2>"$tmp/time"
      nodes=$(awk '/^bench:/ {print $3}' "$tmp/out") ;;
    perft)
      { time "$tool" perft 5 >"$tmp/out" 2>/dev/null; } 2>"$tmp/time"
      nodes=$(awk '/^nodes/ {print $2}' "$tmp/out") ;;
    think)
      { time "$root/scripts/bench-think.sh" "$tool" >"$tmp/out" 2>/dev/null; } 2>"$tmp/time"
      nodes=$(awk '/^median/ {print $(NF - 1)}' "$tmp/out") ;;
    *) echo "bench-ab: unknown AB_BENCH '$bench'" >&2; exit 2 ;;
  esac
  awk -v n="$nodes" '{ printf "%s %.3f\n", n, $1 + $2 }' "$tmp/time"
}

ratios=()
baseBest=0 ourBest=0
for ((i = 1; i <= pairs; ++i)); do
  read -r baseNodes baseCpu < <(run "$baseTool")
  read -r ourNodes ourCpu < <(run "$ours")
  baseBest=$(awk -v a="$baseBest" -v b="$baseCpu" 'BEGIN { print (a == 0 || b < a) ? b : a }')
  ourBest=$(awk -v a="$ourBest" -v b="$ourCpu" 'BEGIN { print (a == 0 || b < a) ? b : a }')
  ratio=$(awk -v b="$baseCpu" -v o="$ourCpu" 'BEGIN { printf "%.3f", b / o }')
  ratios+=("$ratio")
  printf 'pair %d: base %s nodes %.2f s cpu, ours %s nodes %.2f s cpu, speed ratio %s\n' \
    "$i" "$baseNodes" "$baseCpu" "$ourNodes" "$ourCpu" "$ratio"
  [ "$baseNodes" = "$ourNodes" ] || echo "bench-ab: node counts differ ($baseNodes / $ourNodes)"
done
printf '%s\n' "${ratios[@]}" | sort -n | awk -v bench="$bench" -v base="$label" '
  { r[NR] = $1 } END {
    m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
    printf "%s: median speed ratio ours / %s = %.2f over %d pairs\n", bench, base, m, NR }'
# Other work on the machine only ever adds time, so the fastest run of each
# side is the steadiest figure when the pairs scatter.
awk -v b="$baseBest" -v o="$ourBest" 'BEGIN {
  printf "fastest runs: base %.2f s, ours %.2f s cpu, speed ratio %.2f\n", b, o, b / o }'
