#!/bin/sh
# The Debian package: cpack builds it from the install rules, its files lie
# where Debian puts a game's (the program in /usr/games, the data under
# /usr/share/games/tarvik-kxv/), its dependencies come from dpkg-shlibdeps,
# it recommends a help viewer, and lintian finds no error in it.
# Every place in it that names the version names the project's.
#   check-deb.sh CPACK BUILD_DIR VERSION
set -eu
cpack=$1
build=$2
version=$3
work=$(mktemp -d /tmp/tarvik-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2; fail "cpack failed"; }
set -- "$work"/out/tarvik-kxv_*_*.deb
[ -f "$1" ] || fail "no package in $work/out"
deb=$1

dpkg-deb -x "$deb" "$work/root"
required="usr/games/tarvik-kxv
usr/games/tarvik-kxv-library
usr/share/applications/tarvik-kxv.desktop
usr/share/doc/tarvik-kxv/changelog.gz
usr/share/doc/tarvik-kxv/copyright
usr/share/games/tarvik-kxv/OnLoad.dat
usr/share/games/tarvik-kxv/Tarvik_kxv-help.chm
usr/share/icons/hicolor/128x128/apps/tarvik-kxv.png
usr/share/icons/hicolor/16x16/apps/tarvik-kxv.png
usr/share/icons/hicolor/24x24/apps/tarvik-kxv.png
usr/share/icons/hicolor/256x256/apps/tarvik-kxv.png
usr/share/icons/hicolor/32x32/apps/tarvik-kxv.png
usr/share/icons/hicolor/48x48/apps/tarvik-kxv.png
usr/share/icons/hicolor/64x64/apps/tarvik-kxv.png
usr/share/man/man6/tarvik-kxv.6.gz
usr/share/man/man6/tarvik-kxv-library.6.gz
usr/share/metainfo/invalid.tarvik_kxv.TarvikKXv.metainfo.xml"
allowed='^usr/(games/[^/]+|share/applications/[^/]+\.desktop|share/doc/tarvik-kxv/[^/]+|share/games/tarvik-kxv/[^/]+|share/icons/hicolor/[0-9]+x[0-9]+/apps/[^/]+\.png|share/man/man[16]/[^/]+\.gz|share/metainfo/[^/]+\.xml)$'
actual=$(cd "$work/root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
for f in $required; do
    printf '%s\n' "$actual" | grep -qx "$f" || fail "the package lacks $f"
done
stray=$(printf '%s\n' "$actual" | grep -Ev "$allowed" || true)
[ -z "$stray" ] || fail "the package puts files where Debian keeps no game's: $stray"

# Owned by root, nothing writable by others, the program executable.
listing=$(dpkg-deb -c "$deb")
echo "$listing" | awk '$2 != "root/root" { bad = 1 } END { exit bad }' || fail "files not owned by root"
echo "$listing" | awk 'substr($1, 9, 1) == "w" { bad = 1 } END { exit bad }' || fail "files writable by others"
echo "$listing" | grep -q '^-rwxr-xr-x .* \./usr/games/tarvik-kxv$' || fail "the program's mode"

# The program is stripped and the menu entry names it where it lies.
readelf -S "$work/root/usr/games/tarvik-kxv" | grep -q '\.debug_info' && fail "the program is not stripped"
grep -qx 'Exec=/usr/games/tarvik-kxv' "$work/root/usr/share/applications/tarvik-kxv.desktop" || fail "Exec"
desktop-file-validate "$work/root/usr/share/applications/tarvik-kxv.desktop" || fail "menu entry"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tarvik-kxv ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "the package's version is $(field Version), not $version"
[ "$("$work/root/usr/games/tarvik-kxv" --version)" = "tarvik-kxv $version" ] || fail "the packaged program's --version"
[ "$(zcat "$work/root/usr/share/doc/tarvik-kxv/changelog.gz" | head -1)" = "tarvik-kxv ($version) unstable; urgency=medium" ] ||
    fail "the packaged changelog's entry is not $version"
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/invalid.tarvik_kxv.TarvikKXv.metainfo.xml" ||
    fail "the packaged metainfo's release is not $version"
for page in tarvik-kxv tarvik-kxv-library; do
    zcat "$work/root/usr/share/man/man6/$page.6.gz" | head -1 | grep -q "\"Tarvik_KXv $version\"" ||
        fail "the packaged $page manual page names another version"
done
[ "$(field Section)" = games ] || fail "section"
case "$(field Depends)" in
    *libqt6widgets6*libstdc++6*) ;;
    *) fail "Depends lacks what dpkg-shlibdeps finds: $(field Depends)" ;;
esac
# The library tool reads kvtml files through expat.
case "$(field Depends)" in
    *libexpat1*) ;;
    *) fail "Depends lacks libexpat1, which tarvik-kxv-library links: $(field Depends)" ;;
esac
# The libraries opened at run time are not seen by dpkg-shlibdeps.
for lib in libpulse0 libglib2.0-0; do
    case "$(field Depends)" in
        *"$lib"*) ;;
        *) fail "Depends lacks $lib, which the game opens at run time: $(field Depends)" ;;
    esac
done
case "$(field Recommends)" in
    *xchm*) ;;
    *) fail "Recommends lacks a help viewer: $(field Recommends)" ;;
esac

# lintian's errors fail the test; its warnings are shown. (Run as root it
# only says it would rather not.)
command -v lintian >/dev/null || fail "lintian is not installed"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>"$work/lintian.err" || true
grep -v 'running with root privileges' "$work/lintian.err" >&2 || true
cat "$work/lintian.txt"
! grep -q '^E: ' "$work/lintian.txt" || fail "lintian reports errors"
echo "the package is laid out as Debian lays out a game, lintian finds no error"
