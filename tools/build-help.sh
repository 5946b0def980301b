#!/bin/sh
# Builds the help document resources/Tarvik_kxv-help.chm from the sources in
# resources/help/ with chmcmd (Debian package fp-utils).
#
#   tools/build-help.sh              compile the committed pages and pictures
#   tools/build-help.sh --pictures   first redraw the pictures of the windows
#                                    from resources/bitmaps (needs Qt 6 and a
#                                    build of tools/help-pictures)
#
# The pages, tables and pictures are taken in a fixed order from a fresh copy,
# so two builds of the same sources differ only in the time stamps that
# chmcmd itself writes into the file.
#
# The project says "Binary Index=No": with more keywords than one 2 KB block
# holds, chmcmd writes its binary keyword index as a two-level tree, and
# xchm reads the index block as if it were a list of keywords, so the first
# keyword of each list block turned up a second time, cut by two letters
# ("d Puzzles button", "ewer for help files"). Without the binary index the
# viewers read the index from index.hhk, stored in the file as it is.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/resources/help"
out="$root/resources/Tarvik_kxv-help.chm"

if [ "${1:-}" = "--pictures" ]; then
    build="$root/build-help"
    cmake -S "$root" -B "$build" -G Ninja -DTARVIK_TOOLS=ON >/dev/null
    cmake --build "$build" --target help-pictures -j2
    QT_QPA_PLATFORM=offscreen "$build/tools/help-pictures/help-pictures" "$root/resources/bitmaps" "$src/images"
fi

command -v chmcmd >/dev/null 2>&1 || { echo "chmcmd not found: apt-get install fp-utils" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cp -R "$src/." "$work/"

# The project lists the pages; every picture is added here in name order, so
# a new picture needs no edit of the project file.
(
    cd "$work"
    find images -type f -name '*.png' | LC_ALL=C sort >> Tarvik_kxv-help.hhp
    TZ=UTC LC_ALL=C chmcmd --verbosity 0 Tarvik_kxv-help.hhp
)
[ -s "$work/Tarvik_kxv-help.chm" ] || { echo "chmcmd wrote no help file" >&2; exit 1; }
mv "$work/Tarvik_kxv-help.chm" "$out"
echo "wrote $out"
