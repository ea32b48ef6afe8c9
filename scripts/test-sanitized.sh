#!/usr/bin/env bash
# Builds the native tests a second time with assertions on (so the position's
# invariant checker runs after every move) and with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the fast ones there: everything but the
# end-to-end and browser tests, the self-play games, the long stress run, the
# notation checks over every position of the master games and the engine
# benchmarks, which the release build already runs.
#   scripts/test-sanitized.sh [BUILD_DIR]    default build-sanitize
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
jobs=$(nproc 2>/dev/null || echo 2)
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
cd "$build" && ctest --output-on-failure -j"$jobs" -LE 'e2e|web' \
  -E 'SelfPlay|RulesStress|MasterGames|NeverReturnsAnIllegalMove|SignatureMatchesReadme|ReadmeStates/bench|BudgetIsTestedAfterEachIteration'
