#!/bin/sh
# The install rules: `cmake --install` into a fresh prefix puts every file in
# its place, the menu entry names the installed program and passes
# desktop-file-validate, the metainfo passes appstreamcli, the manual page
# renders without warnings.
#   check-install.sh CMAKE BUILD_DIR
set -eu
cmake=$1
build=$2
work=$(mktemp -d /tmp/tarvik-install-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/a prefix"   # a blank in the path, as a home folder may have
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2; fail "cmake --install failed"; }

required="games/tarvik-kxv
share/applications/tarvik-kxv.desktop
share/doc/tarvik-kxv/changelog.gz
share/doc/tarvik-kxv/copyright
share/games/tarvik-kxv/OnLoad.dat
share/games/tarvik-kxv/Tarvik_kxv-help.chm
share/icons/hicolor/128x128/apps/tarvik-kxv.png
share/icons/hicolor/16x16/apps/tarvik-kxv.png
share/icons/hicolor/24x24/apps/tarvik-kxv.png
share/icons/hicolor/256x256/apps/tarvik-kxv.png
share/icons/hicolor/32x32/apps/tarvik-kxv.png
share/icons/hicolor/48x48/apps/tarvik-kxv.png
share/icons/hicolor/64x64/apps/tarvik-kxv.png
share/man/man6/tarvik-kxv.6.gz
share/metainfo/invalid.tarvik_kxv.TarvikKXv.metainfo.xml"
# Every file of the game is there, and nothing lies outside the places an
# install of a game uses (more programs may join the first in games/).
allowed='^(games/[^/]+|share/applications/[^/]+\.desktop|share/doc/tarvik-kxv/[^/]+|share/games/tarvik-kxv/[^/]+|share/icons/hicolor/[0-9]+x[0-9]+/apps/[^/]+\.png|share/man/man[16]/[^/]+\.gz|share/metainfo/[^/]+\.xml)$'
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
for f in $required; do
    printf '%s\n' "$actual" | grep -qx "$f" || fail "$f was not installed"
done
stray=$(printf '%s\n' "$actual" | grep -Ev "$allowed" || true)
[ -z "$stray" ] || fail "installed where a game's files do not go: $stray"
[ -x "$prefix/games/tarvik-kxv" ] || fail "the program is not executable"

# The shipped data are the committed files, byte for byte.
src=$(cd "$(dirname "$0")/../.." && pwd)
cmp "$prefix/share/games/tarvik-kxv/OnLoad.dat" "$src/resources/OnLoad.dat" || fail "OnLoad.dat differs"
cmp "$prefix/share/games/tarvik-kxv/Tarvik_kxv-help.chm" "$src/resources/Tarvik_kxv-help.chm" || fail "help file differs"

# Each icon is a PNG of its directory's size (width and height in the IHDR).
for size in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/tarvik-kxv.png"
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "icon $size is $dims"
done

entry="$prefix/share/applications/tarvik-kxv.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the menu entry"
grep -qx "Exec=\"$prefix/games/tarvik-kxv\"" "$entry" || fail "Exec does not name the installed program: $(grep ^Exec "$entry")"
grep -qx 'Categories=Game;LogicGame;' "$entry" || fail "categories"
grep -qx 'Icon=tarvik-kxv' "$entry" || fail "icon name"
grep -q '^Name=.' "$entry" && grep -q '^Comment=.' "$entry" || fail "name or comment missing"
# The action that starts the game in keyboard play.
grep -qx 'Actions=Keyboard;' "$entry" && grep -qx 'Name=Play with the keyboard' "$entry" &&
    grep -qx "Exec=\"$prefix/games/tarvik-kxv\" --keyboard" "$entry" || fail "keyboard action: $(grep ^Exec "$entry")"

# The same rules with a prefix without blanks give an unquoted Exec.
"$cmake" --install "$build" --prefix "$work/plain" >/dev/null 2>&1 || fail "second install failed"
grep -qx "Exec=$work/plain/games/tarvik-kxv" "$work/plain/share/applications/tarvik-kxv.desktop" ||
    fail "Exec for a plain prefix: $(grep ^Exec "$work/plain/share/applications/tarvik-kxv.desktop")"

metainfo="$prefix/share/metainfo/invalid.tarvik_kxv.TarvikKXv.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses the metainfo"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "project_license"
grep -q '<launchable type="desktop-id">tarvik-kxv.desktop</launchable>' "$metainfo" || fail "launchable"
grep -q '<release version="[0-9.]*" date="[0-9-]*"' "$metainfo" || fail "no release entry"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/tarvik-kxv.6.gz" 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
zcat "$prefix/share/man/man6/tarvik-kxv.6.gz" | grep -q '^\.TH TARVIK-KXV 6 ' || fail "manual page section"
zcat "$prefix/share/doc/tarvik-kxv/changelog.gz" >/dev/null || fail "changelog is not gzip"
grep -q 'Copyright: 2026 The Tarvik_KXv developers' "$prefix/share/doc/tarvik-kxv/copyright" || fail "copyright"
echo "install layout, menu entry, metainfo and manual page are right"
