#!/usr/bin/env bash
# The strength ladder: each of our levels plays `lanterra match` against a few
# fixed Fairy-Stockfish settings, two matches at a time, and the table of
# results replaces the one between the ladder markers in README.md.
#
#   scripts/ladder.sh [path/to/lanterra]
#
# Each match leaves its log and games in ladder/ beside the tool's folder
# (build/ladder/ for build/bin/lanterra); games.pgn there collects them all.
# Levels 5 and 6 play each colour in a match of its own, so that their long
# games run side by side.
#
# Environment (defaults give the full ladder: 166 games, 45-60 minutes on two cores):
#   LADDER_LEVELS        levels to play and tabulate      "0 1 2 3 4 5 6"
#   LADDER_OPENINGS      book openings per match, levels 0-4 (games = 2x)   4
#   LADDER_TOP_OPENINGS  book openings per match, levels 5-6                1
#   LADDER_JOBS          matches run at once                                2
#   LADDER_RESUME        1: keep the finished matches of an earlier run     0
#   LADDER_README        the file the table goes into        README.md
#   LADDER_NOTE          a line printed under the table (e.g. "reduced run")
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/bin/lanterra}
fsf=/usr/games/fairy-stockfish
[ -x "$tool" ] || { echo "ladder: $tool is missing (make build)"; exit 1; }
[ -x "$fsf" ] || { echo "ladder: $fsf is missing (apt-get install fairy-stockfish)"; exit 1; }

levels=${LADDER_LEVELS:-0 1 2 3 4 5 6}
openings=${LADDER_OPENINGS:-4}
top_openings=${LADDER_TOP_OPENINGS:-1}
plies=6  # of each book opening, named in the table's footer
jobs=${LADDER_JOBS:-2}
resume=${LADDER_RESUME:-0}
readme=${LADDER_README:-README.md}
note=${LADDER_NOTE:-}

# Fairy-Stockfish, one thread, limited per move: column name|match options.
settings=(
  "FSF depth 1|--depth 1"
  "FSF 1k nodes|--nodes 1000"
  "FSF 10k nodes|--nodes 10000"
  "FSF 100k nodes|--nodes 100000"
)
# Level 5 takes seconds a move and level 6 close to a minute, so they meet
# only the settings that can still tell them apart from the levels below.
first_setting() { case $1 in 5) echo 2 ;; 6) echo 3 ;; *) echo 0 ;; esac; }
openings_for() { if [ "$1" -ge 5 ]; then echo "$top_openings"; else echo "$openings"; fi; }

results="$(cd "$(dirname "$tool")/.." && pwd)/ladder"
mkdir -p "$results"
start=$(date +%s)

colours_for() { if [ "$1" -ge 5 ]; then echo "red black"; else echo "both"; fi; }

# One job line per match: level, setting index, openings, colours. Slow
# matches go first so that the two job slots finish close together.
for level in $levels; do
  for s in "${!settings[@]}"; do
    [ "$s" -ge "$(first_setting "$level")" ] || continue
    for colour in $(colours_for "$level"); do
      name="$level-$s-$colour"
      log="$results/log-$name.txt"
      if [ "$resume" = 1 ] && [ -f "$log" ] && grep -q '^score ' "$log"; then continue; fi
      rm -f "$log" "$results/games-$name.pgn"
      echo "$level $s $(openings_for "$level") $colour"
    done
  done
done | sort -k1,1nr -k2,2nr >"$results/jobs"

run_one() {
  local level=$1 s=$2 k=$3 colour=$4 t0
  local options=${SETTINGS[$s]#*|} name="$1-$2-$4"
  [ "$colour" = both ] || options+=" --colour $colour"
  t0=$(date +%s)
  # shellcheck disable=SC2086
  "$TOOL" match --level "$level" $options --openings "$k" --plies "$PLIES" --seed $((1000 + level)) \
    --pgn "$RESULTS/games-$name.pgn" >"$RESULTS/log-$name.tmp" 2>&1 || true
  echo "seconds $(( $(date +%s) - t0 ))" >>"$RESULTS/log-$name.tmp"
  mv "$RESULTS/log-$name.tmp" "$RESULTS/log-$name.txt"
  echo "level $level vs ${SETTINGS[$s]%%|*} ($colour): $(grep '^score ' "$RESULTS/log-$name.txt" || echo failed)"
}
export -f run_one
export TOOL="$tool" RESULTS="$results" PLIES="$plies"
SETTINGS_TEXT=$(printf '%s\n' "${settings[@]}")
export SETTINGS_TEXT
xargs -r -P "$jobs" -L 1 bash -c 'mapfile -t SETTINGS <<<"$SETTINGS_TEXT"; run_one "$@"' _ <"$results/jobs"

elapsed=$(( $(date +%s) - start ))
games=0
match_seconds=0
for level in $levels; do
  for s in "${!settings[@]}"; do
    for log in "$results/log-$level-$s-"*.txt; do
      [ -f "$log" ] || continue
      games=$(( games + $(grep -c '^game ' "$log" || true) ))
      match_seconds=$(( match_seconds + $(awk '/^seconds/ {print $2}' "$log") ))
    done
  done
done
cat "$results"/games-*.pgn >"$results/games.pgn" 2>/dev/null || true

# The score of a level against a setting, over the matches of both colours:
# their W-D-L added up and turned into a score line by the tool.
cell() {
  local logs=("$results/log-$1-$2-"*.txt)
  [ -f "${logs[0]}" ] || return 1
  grep -h '^score ' "${logs[@]}" | awk '{split($2, c, "-"); w += c[1]; d += c[2]; l += c[3]} END {
    if (NR == 0) exit 1; print w, d, l }' | { read -r w d l && "$tool" elo "$w" "$d" "$l"; }
}

# The table: one row per level, one column per setting; each cell is our
# score from that level's point of view and the Elo difference it implies.
{
  echo "<!-- ladder:begin -->"
  header="| level |"
  rule="|---|"
  for s in "${!settings[@]}"; do
    header+=" ${settings[$s]%%|*} |"
    rule+="---|"
  done
  echo "$header"
  echo "$rule"
  for level in $levels; do
    row="| $level |"
    for s in "${!settings[@]}"; do
      if line=$(cell "$level" "$s"); then
        row+=" $(echo "$line" | awk '{printf "%s (%s%%), %s %s %s", $2, $4, $6, $7, $8}') |"
      else
        row+=" - |"
      fi
    done
    echo "$row"
  done
  echo
  echo "Cells: wins-draws-losses of Lanterra (its score), Elo difference ± 95% margin."
  echo "Fairy-Stockfish $(dpkg-query -W -f='${Version}' fairy-stockfish 2>/dev/null || echo '?'): UCI_Variant"
  echo "xiangqi, one thread, \`go depth 1\` or \`go nodes N\` for every move. Lanterra: the level's"
  echo "node budget and its book, seeded 1000 + level. Each level plays $openings book openings"
  echo "($top_openings for levels 5 and 6) of $plies plies against each setting, each opening with both colours; level 5 meets"
  echo "only the 10k and 100k settings, level 6 only 100k. Games judged by Lanterra's rules."
  echo "Games: $games, $((match_seconds / 60)) min of matches in all. This run took"
  echo "$((elapsed / 60)) min $((elapsed % 60)) s on $(nproc) cores with $jobs matches at once, $(date -u +%Y-%m-%d)."
  [ -z "$note" ] || { echo; echo "$note"; }
  echo "<!-- ladder:end -->"
} >"$results/table.md"
cat "$results/table.md"

# Put the table between the markers, or add the section when there is none.
if grep -q '<!-- ladder:begin -->' "$readme"; then
  awk -v table="$results/table.md" '
    /<!-- ladder:begin -->/ { while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- ladder:end -->/ { skip = 0; next }
    !skip { print }' "$readme" >"$results/readme.tmp" && cat "$results/readme.tmp" >"$readme"
  rm -f "$results/readme.tmp"
else
  { echo; echo "## Strength ladder"; echo; cat "$results/table.md"; } >>"$readme"
fi
echo "ladder: $games games in $elapsed s; table written to $readme"
