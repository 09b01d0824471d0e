#!/usr/bin/env bash
# Runs a fuzzing campaign: scripts/fuzz.sh TARGET SECONDS (nice -n 19).
# The committed seeds of fuzz/corpus/TARGET start it; what the campaign adds
# goes to build/fuzz/corpus/TARGET, crashes to build/fuzz/findings/TARGET.
# The last lines of the log give executions, coverage (cov) and features (ft).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 2 ]; then
  echo "Usage: scripts/fuzz.sh TARGET SECONDS   (targets: fuzz/fuzz_*.cpp)" >&2
  exit 2
fi
TARGET=$1
SECONDS_TO_RUN=$2
[ -f "fuzz/$TARGET.cpp" ] || { echo "No fuzz target fuzz/$TARGET.cpp" >&2; exit 2; }

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTWR_BUILD_TESTS=OFF -DTWR_BUILD_BENCH=OFF -DTWR_BUILD_UI=OFF -DTWR_BUILD_FUZZ=ON >/dev/null
nice -n 19 cmake --build build/fuzz -j "${JOBS:-2}" --target "$TARGET"

CORPUS=build/fuzz/corpus/$TARGET
FINDINGS=build/fuzz/findings/$TARGET
mkdir -p "$CORPUS" "$FINDINGS"
ARGS=(-max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 -artifact_prefix="$FINDINGS/"
  -rss_limit_mb=2048 -timeout="${FUZZ_TIMEOUT:-20}")
[ -f "fuzz/dict/$TARGET.dict" ] && ARGS+=(-dict="fuzz/dict/$TARGET.dict")
SEEDS=()
[ -d "fuzz/corpus/$TARGET" ] && SEEDS+=("fuzz/corpus/$TARGET")
# Qt keeps a few process-wide allocations until exit: not leaks of ours.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export QT_QPA_PLATFORM=offscreen
nice -n 19 "build/fuzz/fuzz/$TARGET" "${ARGS[@]}" "$CORPUS" "${SEEDS[@]}"
