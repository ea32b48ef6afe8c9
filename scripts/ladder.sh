#!/usr/bin/env bash
# The strength ladder: each of our levels plays `lanterra match` against a few
# fixed Fairy-Stockfish settings, two matches at a time, and the table of
# results replaces the one between the ladder markers in README.md.
#
#   scripts/ladder.sh [path/to/lanterra]
#
# Environment (defaults give the full ladder, about 1.5 hours on two cores):
#   LADDER_LEVELS        levels to play                  "0 1 2 3 4 5 6"
#   LADDER_OPENINGS      book openings per match, levels 0-4 (games = 2x)   4
#   LADDER_TOP_OPENINGS  book openings per match, levels 5-6                1
#   LADDER_JOBS          matches run at once                                2
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
jobs=${LADDER_JOBS:-2}
readme=${LADDER_README:-README.md}
note=${LADDER_NOTE:-}

# Fairy-Stockfish, one thread, limited by nodes per move: name|match options.
settings=(
  "FSF depth 1|--depth 1"
  "FSF 1k nodes|--nodes 1000"
  "FSF 10k nodes|--nodes 10000"
  "FSF 100k nodes|--nodes 100000"
)
# The top levels take minutes a move, so they meet only the settings that can
# tell them apart from the levels below.
top_settings_from=2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s)

# One job line per match: level, setting index, openings. Slow matches go
# first so that the two job slots finish close together.
for level in $levels; do
  for s in "${!settings[@]}"; do
    if [ "$level" -ge 5 ]; then
      [ "$s" -ge "$top_settings_from" ] || continue
      echo "$level $s $top_openings"
    else
      echo "$level $s $openings"
    fi
  done
done | sort -k1,1nr -k2,2nr >"$work/jobs"

run_one() {
  local level=$1 s=$2 k=$3
  local options=${SETTINGS[$s]#*|}
  # shellcheck disable=SC2086
  "$TOOL" match --level "$level" $options --openings "$k" --seed $((1000 + level)) \
    --pgn "$WORK/games-$level-$s.pgn" >"$WORK/log-$level-$s.txt" 2>&1 || true
  echo "level $level vs ${SETTINGS[$s]%%|*}: $(tail -n 1 "$WORK/log-$level-$s.txt")"
}
export -f run_one
export TOOL="$tool" WORK="$work"
SETTINGS_TEXT=$(printf '%s\n' "${settings[@]}")
export SETTINGS_TEXT
xargs -P "$jobs" -L 1 bash -c 'mapfile -t SETTINGS <<<"$SETTINGS_TEXT"; run_one "$@"' _ <"$work/jobs"

elapsed=$(( $(date +%s) - start ))
games=$(cat "$work"/games-*.pgn 2>/dev/null | grep -c '^\[Round ' || true)
cat "$work"/games-*.pgn >"$work/all.pgn" 2>/dev/null || true
mkdir -p "$(dirname "$tool")/../ladder"
cp "$work/all.pgn" "$(dirname "$tool")/../ladder/games.pgn"

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
      log="$work/log-$level-$s.txt"
      if [ -f "$log" ] && grep -q '^score ' "$log"; then
        row+=" $(grep '^score ' "$log" | tail -n 1 | awk '{printf "%s (%s%%), %s %s %s", $2, $4, $6, $7, $8}') |"
      else
        row+=" - |"
      fi
    done
    echo "$row"
  done
  echo
  echo "Cells: wins-draws-losses of Lanterra (score %), Elo difference ± 95% margin."
  echo "Settings: Fairy-Stockfish $(dpkg-query -W -f='${Version}' fairy-stockfish 2>/dev/null || echo '?'),"
  echo "UCI_Variant xiangqi, 1 thread, \`go depth 1\` or \`go nodes N\` per move; Lanterra at its"
  echo "level's node budget with its book, seeded 1000 + level. Openings: $openings book lines of"
  echo "6 plies (levels 0-4), $top_openings for levels 5-6 (which meet only the 10k and 100k"
  echo "settings), each played with both colours; games judged by Lanterra's rules."
  echo "Games: $games. Time: $((elapsed / 60)) min $((elapsed % 60)) s with $jobs matches at once on"
  echo "$(nproc) cores, $(date -u +%Y-%m-%d)."
  [ -z "$note" ] || { echo; echo "$note"; }
  echo "<!-- ladder:end -->"
} >"$work/table.md"
cat "$work/table.md"

# Put the table between the markers, or add the section when there is none.
if grep -q '<!-- ladder:begin -->' "$readme"; then
  awk -v table="$work/table.md" '
    /<!-- ladder:begin -->/ { while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- ladder:end -->/ { skip = 0; next }
    !skip { print }' "$readme" >"$work/readme" && cat "$work/readme" >"$readme"
else
  { echo; echo "## Strength ladder"; echo; cat "$work/table.md"; } >>"$readme"
fi
echo "ladder: $games games in $elapsed s; table written to $readme"
