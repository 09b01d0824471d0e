#!/usr/bin/env bash
# Fails when clang-format (with the repository's .clang-format) would change
# a tracked C++ file, and names each such file.
#   check-format.sh         check only
#   check-format.sh --fix   reformat those files in place
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
command -v "$CLANG_FORMAT" > /dev/null ||
  { echo "clang-format not found (Debian package clang-format)" >&2; exit 1; }
FIX=0
case ${1:-} in
  --fix) FIX=1 ;;
  "") ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
differ=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  "$CLANG_FORMAT" --dry-run --Werror "$f" > /dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -eq 0 ]; then
  echo "clang-format: ${#files[@]} files, all formatted"
  exit 0
fi
if [ "$FIX" -eq 1 ]; then
  "$CLANG_FORMAT" -i "${differ[@]}"
  printf 'reformatted %s\n' "${differ[@]}"
  exit 0
fi
printf 'clang-format would change %s\n' "${differ[@]}" >&2
echo "${#differ[@]} of ${#files[@]} files are not formatted: scripts/check-format.sh --fix" >&2
exit 1
