#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the program's sources
# (src/), using a build's compile_commands.json, and prints each finding once
# with a count per check. Exit status 1 when there is a finding.
#   tidy.sh [BUILD_DIR]   a configured build (default build/tidy, configured
#                         here when it has no compile_commands.json)
# JOBS sets the parallel runs (default: the number of cores); the full
# output goes to BUILD_DIR/clang-tidy.log.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${1:-build/tidy}
JOBS=${JOBS:-$(nproc)}

RUN_TIDY=$(command -v run-clang-tidy || command -v run-clang-tidy-14 || true)
[ -n "$RUN_TIDY" ] || { echo "run-clang-tidy not found (Debian package clang-tidy)" >&2; exit 1; }
if [ ! -f "$BUILD/compile_commands.json" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWR_BUILD_TESTS=OFF \
    -DTWR_BUILD_BENCH=OFF >/dev/null
fi
LOG=$BUILD/clang-tidy.log
# clang-tidy parses the compiler's options as clang does: GCC-only tuning
# options are left out of the copy of the compile commands it reads.
DB=$BUILD/tidy-db
mkdir -p "$DB"
sed -e 's/ -fvect-cost-model=[a-z]*//g' "$BUILD/compile_commands.json" > "$DB/compile_commands.json"
# Only the sources under src/ (not the generated moc and resource files).
nice "$RUN_TIDY" -p "$DB" -j "$JOBS" -quiet "^$ROOT/src/" > "$LOG" 2>&1 || true

# A header's finding comes once per source that includes it: keep one.
FINDINGS=$(sed 's/\x1b\[[0-9;]*m//g' "$LOG" |
  grep -E "^$ROOT/src/[^ ]+:[0-9]+:[0-9]+: (warning|error):" | sort -u || true)
if grep -q "clang-diagnostic-error\|: error:" <<< "$FINDINGS"; then
  echo "clang-tidy could not compile a source; see $LOG" >&2
fi
if [ -z "$FINDINGS" ]; then
  echo "clang-tidy: no findings"
  exit 0
fi
sed "s|^$ROOT/||" <<< "$FINDINGS"
echo
echo "clang-tidy findings by check:"
grep -oE "\[[a-z0-9.,-]+\]$" <<< "$FINDINGS" | tr -d '[]' | sort | uniq -c | sort -rn
echo "$(wc -l <<< "$FINDINGS") findings (full output: $LOG)"
exit 1
