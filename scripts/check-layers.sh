#!/usr/bin/env bash
# Checks that every layer includes only itself and the layers below it, and
# that only app/win32 includes the Windows headers: the page's bridge in web/
# and the tests build from the portable app/ and never from app/win32. The
# fuzz harnesses in fuzz/ stand on the libraries, the portable app/ among
# them, never on the tool or a front end. Run by make test (CTest test
# layer_dependencies); prints each offending line and fails on any.
#
# Usage: scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}"

# Each folder and the folders its files may include from.
declare -A allowed=(
  [rules]="rules"
  [notation]="rules notation"
  [pgn]="rules notation pgn"
  [engine]="rules engine"
  [book]="rules engine book"
  [app]="rules engine notation app"
  [app/win32]="rules engine notation app app/win32"
  [protocol]="rules engine notation protocol"
  [match]="rules engine notation pgn match"
  [tools]="rules engine notation pgn book protocol match tools"
  [web]="rules engine notation app web"
  [fuzz]="rules engine notation pgn book protocol match app fuzz"
)
layers="${!allowed[*]}"
# Headers that only some of the layers allowed their folder may include: the
# search's door to making moves (rules/search_moves.h) trusts its caller, so
# only the rules and the engine's search use it.
declare -A narrow=(
  [rules/search_moves.h]="rules engine"
)
windows_headers='windows|mmsystem|shellapi|winuser|wingdi|winbase|commctrl|windowsx'

faults=0
report() {
  echo "$1"
  faults=$((faults + 1))
}

for folder in rules notation pgn engine book app protocol match tools web fuzz; do
  [[ -d $folder ]] || continue
  while IFS= read -r -d '' file; do
    layer=$folder
    [[ $file == app/win32/* ]] && layer=app/win32
    while IFS= read -r hit; do
      line=${hit%%:*}
      text=${hit#*:}
      if [[ $text =~ \#include[[:space:]]*\"([a-z0-9_]+)/([a-z0-9_]+/)? ]]; then
        target=${BASH_REMATCH[1]}
        [[ $target/${BASH_REMATCH[2]} == app/win32/ ]] && target=app/win32
        # Only the project's own folders are layers; anything else is a
        # file beside the includer, found through its own include path.
        [[ " $layers " == *" $target "* ]] || continue
        [[ " ${allowed[$layer]} " == *" $target "* ]] ||
          report "$file:$line: $layer includes $target: $text"
      fi
      if [[ $text =~ \#include[[:space:]]*\"([a-z0-9_/]+\.h)\" && -n ${narrow[${BASH_REMATCH[1]}]:-} ]]; then
        header=${BASH_REMATCH[1]}
        [[ " ${narrow[$header]} " == *" $layer "* ]] ||
          report "$file:$line: only ${narrow[$header]// / and } may include $header: $text"
      fi
      # Header names are matched in lower case, as Windows finds them.
      if [[ ${text,,} =~ \#include[[:space:]]*[\<\"]($windows_headers)\.h[\>\"] && $layer != app/win32 ]]; then
        report "$file:$line: only app/win32 may include ${BASH_REMATCH[1]}.h: $text"
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -name node_modules -prune -o -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) -print0)
done

# The native tests build without Windows too; only the end-to-end tests'
# helper program runs under Wine.
while IFS= read -r hit; do
  report "$hit: only app/win32 may include a Windows header"
done < <(grep -nEi "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($windows_headers)\.h" tests/*.cpp tests/*.h || true)
while IFS= read -r hit; do
  report "$hit: the native tests build nothing from app/win32"
done < <(grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"app/win32/" tests/*.cpp tests/*.h || true)

if ((faults)); then
  echo "$faults include(s) against the layers"
  exit 1
fi
echo "layers: every include points down"
