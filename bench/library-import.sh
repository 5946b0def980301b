#!/usr/bin/env bash
# Times the library tool's import of a dictionary (Debian's wamerican,
# about 100,000 words; goal under 2 s) and the game's New Game on the
# library that gives (goal under 20 ms).
#   bench/library-import.sh [BUILD_DIR] [WORD_LIST]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
words=${2:-/usr/share/dict/words}
[[ -r "$words" ]] || { echo "no word list at $words (apt-get install wamerican)" >&2; exit 1; }

cmake --build "$build" --target tarvik-kxv-library tarvik-bench-new-game >/dev/null
tool="$build/tarvik-kxv-library"
work=$(mktemp -d /tmp/tarvik-import-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "Import of $(wc -l < "$words") lines from $words into the shipped library:"
times=()
for run in 1 2 3 4 5; do
  rm -rf "$work/lib" && mkdir "$work/lib" && cp resources/OnLoad.dat "$work/lib/"
  start=$(date +%s%N)
  "$tool" --dir "$work/lib" import "$words" > "$work/report"
  end=$(date +%s%N)
  times+=("$(( (end - start) / 1000000 ))")
done
tail -n 4 "$work/report" | sed 's/^/  /'
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1/1000} END {printf "  import: best %.3f s, median %.3f s, worst %.3f s (goal: under 2 s)\n", a[1], a[int((NR+1)/2)], a[NR]}'

echo "New Game on that library ($(stat -c %s "$work/lib/OnLoad.dat") bytes):"
"$build/tarvik-bench-new-game" "$work/lib" 20 | sed 's/^/  /'
echo "  (goal: under 20 ms)"
