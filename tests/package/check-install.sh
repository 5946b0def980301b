#!/bin/sh
# The install rules: `cmake --install` into a fresh prefix puts every file in
# its place (the programs in bin/, where the PATH finds them), the menu entry
# names the installed program and passes desktop-file-validate, the metainfo
# passes appstreamcli, the manual pages render without warnings and `man`
# finds them from the PATH, and every place that names the version names the
# project's.
#   check-install.sh CMAKE BUILD_DIR VERSION
set -eu
cmake=$1
build=$2
version=$3
work=$(mktemp -d /tmp/tarvik-install-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/a prefix"   # a blank in the path, as a home folder may have
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2; fail "cmake --install failed"; }

required="bin/tarvik-kxv
bin/tarvik-kxv-library
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
share/man/man6/tarvik-kxv-library.6.gz
share/metainfo/invalid.tarvik_kxv.TarvikKXv.metainfo.xml"
# Every file of the game is there, and nothing lies outside the places an
# install of a game uses; nothing in games/, which is the package's alone.
allowed='^(bin/tarvik-kxv[^/]*|share/applications/[^/]+\.desktop|share/doc/tarvik-kxv/[^/]+|share/games/tarvik-kxv/[^/]+|share/icons/hicolor/[0-9]+x[0-9]+/apps/[^/]+\.png|share/man/man[16]/[^/]+\.gz|share/metainfo/[^/]+\.xml)$'
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
for f in $required; do
    printf '%s\n' "$actual" | grep -qx "$f" || fail "$f was not installed"
done
stray=$(printf '%s\n' "$actual" | grep -Ev "$allowed" || true)
[ -z "$stray" ] || fail "installed where a game's files do not go: $stray"
[ -x "$prefix/bin/tarvik-kxv" ] || fail "the program is not executable"
[ -x "$prefix/bin/tarvik-kxv-library" ] || fail "the library tool is not executable"

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
grep -qx "Exec=\"$prefix/bin/tarvik-kxv\"" "$entry" || fail "Exec does not name the installed program: $(grep ^Exec "$entry")"
grep -qx 'Categories=Game;LogicGame;' "$entry" || fail "categories"
grep -qx 'Icon=tarvik-kxv' "$entry" || fail "icon name"
grep -q '^Name=.' "$entry" && grep -q '^Comment=.' "$entry" || fail "name or comment missing"
# The action that starts the game in keyboard play.
grep -qx 'Actions=Keyboard;' "$entry" && grep -qx 'Name=Play with the keyboard' "$entry" &&
    grep -qx "Exec=\"$prefix/bin/tarvik-kxv\" --keyboard" "$entry" || fail "keyboard action: $(grep ^Exec "$entry")"

# The same rules with a prefix without blanks give an unquoted Exec.
"$cmake" --install "$build" --prefix "$work/plain" >/dev/null 2>&1 || fail "second install failed"
grep -qx "Exec=$work/plain/bin/tarvik-kxv" "$work/plain/share/applications/tarvik-kxv.desktop" ||
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

# With the prefix's bin/ on the PATH, as ~/.local/bin is on Debian's, the
# programs and both manual pages are found by name.
found=$(PATH="$work/plain/bin:/usr/bin:/bin" sh -c 'command -v tarvik-kxv')
[ "$found" = "$work/plain/bin/tarvik-kxv" ] || fail "the PATH finds $found"
for page in tarvik-kxv tarvik-kxv-library; do
    where=$(env -u MANPATH PATH="$work/plain/bin:/usr/bin:/bin" man -w "$page" 2>&1) || fail "man finds no $page: $where"
    [ "$where" = "$work/plain/share/man/man6/$page.6.gz" ] || fail "man finds $page at $where"
done

# One version everywhere: the program, the manual pages, the metainfo
# release, the changelog.
[ "$("$prefix/bin/tarvik-kxv" --version)" = "tarvik-kxv $version" ] ||
    fail "tarvik-kxv --version says $("$prefix/bin/tarvik-kxv" --version)"
for page in tarvik-kxv tarvik-kxv-library; do
    zcat "$prefix/share/man/man6/$page.6.gz" | head -1 | grep -q "\"Tarvik_KXv $version\"" ||
        fail "the $page manual page names another version: $(zcat "$prefix/share/man/man6/$page.6.gz" | head -1)"
done
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
[ "$(zcat "$prefix/share/doc/tarvik-kxv/changelog.gz" | head -1)" = "tarvik-kxv ($version) unstable; urgency=medium" ] ||
    fail "the changelog's entry is not $version"
grep -rq '@[A-Z_]*@' "$metainfo" "$entry" && fail "a template placeholder was left"
for f in "$prefix"/share/man/man6/*.gz "$prefix/share/doc/tarvik-kxv/changelog.gz"; do
    zcat "$f" | grep -q '@[A-Z_]*@' && fail "a template placeholder was left in $f"
done

# --help names the folder an installed copy uses and exits without writing.
usage=$(env -u XDG_DATA_HOME HOME="$work/home" "$prefix/bin/tarvik-kxv" --help) || fail "--help failed"
printf '%s\n' "$usage" | grep -qx "Files, in $work/home/.local/share/tarvik-kxv/:" ||
    fail "--help names another folder: $usage"
printf '%s\n' "$usage" | grep -qx "Help document: $prefix/share/games/tarvik-kxv/Tarvik_kxv-help.chm" ||
    fail "--help names another help document: $usage"
[ ! -e "$work/home" ] || fail "--help wrote into the home"
set +e
"$prefix/bin/tarvik-kxv" --no-such-option 2>/dev/null
rc=$?
set -e
[ "$rc" = 2 ] || fail "an unknown option ends with $rc"
grep -q 'Copyright: 2026 The Tarvik_KXv developers' "$prefix/share/doc/tarvik-kxv/copyright" || fail "copyright"
echo "install layout, PATH, menu entry, metainfo, manual pages and version are right"
