#!/usr/bin/env bash
# The fuzz harnesses (fuzz/NAME.cpp), each with its seed corpus
# (fuzz/corpus/NAME/) and dictionary (fuzz/dict/NAME.dict).
#   scripts/fuzz.sh run [SECONDS] [NAME...]
#       builds the harnesses with Clang's libFuzzer, AddressSanitizer and
#       UndefinedBehaviorSanitizer in build-fuzz/ and fuzzes each for SECONDS
#       (default 60), one after another. Each works on a scratch copy of its
#       corpus in build-fuzz/corpus/NAME/, which keeps what earlier runs found;
#       a failing input is written to build-fuzz/findings/NAME/. The committed
#       corpus is never written to: a finding worth keeping is copied there by
#       hand, once the fault is mended.
#   scripts/fuzz.sh replay BIN_DIR
#       runs every committed corpus file through every harness as built in
#       BIN_DIR (the CTest test fuzz_corpora): no fuzzing, seconds.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

harness_names() {
  for source in "$here"/fuzz/*.cpp; do
    name=$(basename "$source" .cpp)
    [[ $name == replay_main ]] || echo "$name"
  done
}

case $mode in
replay)
  bin=${2:?usage: scripts/fuzz.sh replay BIN_DIR}
  failed=0
  # Every harness takes any bytes, so each replays the other harnesses'
  # corpora as well as its own: more shapes for a second or two more.
  for name in $(harness_names); do
    if [[ ! -x $bin/fuzz_$name ]]; then
      echo "fuzz_$name is not built in $bin" >&2
      failed=1
    else
      "$bin/fuzz_$name" "$here"/fuzz/corpus/*/ || { echo "fuzz_$name failed" >&2; failed=1; }
    fi
  done
  exit $failed
  ;;
run)
  seconds=${2:-60}
  shift $(($# < 2 ? $# : 2))
  names=("$@")
  ((${#names[@]})) || mapfile -t names < <(harness_names)
  build=$here/build-fuzz
  jobs=$(nproc 2>/dev/null || echo 2)
  flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  # Assertions stay on, so that the position's invariant checker runs after
  # every move; the tests and the command-line tool are not built.
  CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DCMAKE_CXX_FLAGS="$flags" -DLANTERRA_TESTS=OFF -DLANTERRA_FUZZ=ON >/dev/null
  cmake --build "$build" -j"$jobs" --target "${names[@]/#/fuzz_}"
  failed=()
  summary=()
  for name in "${names[@]}"; do
    corpus=$build/corpus/$name
    findings=$build/findings/$name
    mkdir -p "$corpus" "$findings"
    [[ -d $here/fuzz/corpus/$name ]] && cp -n "$here/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
    options=(-max_total_time="$seconds" -timeout=30 -print_final_stats=1 -artifact_prefix="$findings/")
    [[ -f $here/fuzz/dict/$name.dict ]] && options+=(-dict="$here/fuzz/dict/$name.dict")
    log=$build/fuzz-$name.log
    echo "== fuzz_$name for $seconds s (log $log)"
    status=0
    "$build/fuzz/fuzz_$name" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    # libFuzzer's last status line and its final counts.
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$last"
    summary+=("$(printf '%-10s %12s runs  %s' "$name" "${runs:-?}" "$(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$last" || true)")")
    if ((status)); then
      failed+=("$name")
      grep -E 'ERROR|fuzz check failed|runtime error|Test unit written' "$log" | head -n 5 || true
    fi
  done
  echo "== summary"
  printf '%s\n' "${summary[@]}"
  if ((${#failed[@]})); then
    echo "findings in: ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
  fi
  ;;
*)
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "${BASH_SOURCE[0]}" >&2
  exit 2
  ;;
esac
