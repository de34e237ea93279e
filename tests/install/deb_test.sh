#!/usr/bin/env bash
# `cpack -G DEB` from the build folder must give a package that Debian can install: its control
# fields, the dependencies dpkg-shlibdeps found plus the font and the soundfont, and the files
# of a desktop application, which must validate as unpacked from the package.
# Usage: deb_test.sh <build folder>. The package of a sanitizer build also depends on the
# sanitizer runtimes; nothing here minds that.
set -euo pipefail

BUILD=$(readlink -f "$1")
ID=io.github.pelmoravan.Pelmoravan
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
FAILURES=0

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

if ! cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$SCRATCH/out" >"$SCRATCH/cpack.log" 2>&1; then
    cat "$SCRATCH/cpack.log" >&2
    echo "FAIL: cpack failed" >&2
    exit 1
fi
debs=("$SCRATCH"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one .deb, got: ${debs[*]}" >&2; exit 1; }
DEB=${debs[0]}
arch=$(dpkg --print-architecture)
[ "$(basename "$DEB")" = "pelmoravan_$(dpkg-deb -f "$DEB" Version)_$arch.deb" ] ||
    fail "package file is named $(basename "$DEB")"

# ---- control fields ----------------------------------------------------------------------------
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = "pelmoravan" ] || fail "Package is '$(field Package)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = "games" ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[[ "$(field Version)" =~ ^[0-9]+(\.[0-9]+)+$ ]] || fail "Version is '$(field Version)'"
# The synopsis fits a line, and the long description is wrapped for an 80-column terminal.
description=$(field Description)
synopsis=${description%%$'\n'*}
long=${description#*$'\n'}
[ -n "$synopsis" ] && [ ${#synopsis} -le 80 ] || fail "Description synopsis is '$synopsis'"
[ -n "$long" ] && [ "$long" != "$description" ] || fail "no long description"
while IFS= read -r line; do
    [ ${#line} -le 80 ] || fail "long description line over 80 columns: '$line'"
done <<<"$long"

# Dependencies: one name per entry, version constraints left out.
names() { field "$1" | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' | grep -v '^$' || true; }
depends=$(names Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-mixer-2.0-0 libstdc++6 libc6; do
    grep -qx "$lib" <<<"$depends" || fail "Depends lacks $lib (dpkg-shlibdeps): $(field Depends)"
done
grep -qx fonts-wqy-microhei <<<"$depends" || fail "Depends lacks the Chinese font: $(field Depends)"
grep -qx qt6-translations-l10n <<<"$depends" || fail "Depends lacks Qt's translations: $(field Depends)"
grep -qx timgm6mb-soundfont <<<"$(names Depends; names Recommends)" ||
    fail "neither Depends nor Recommends names the soundfont"
[ "$(sort <<<"$depends" | uniq -d)" = "" ] || fail "Depends names a package twice: $(field Depends)"

# ---- contents ----------------------------------------------------------------------------------
dpkg-deb -c "$DEB" | awk '{print $1, $6}' >"$SCRATCH/contents.txt"
expect_file() {
    grep -q " \./usr/$1\$" "$SCRATCH/contents.txt" || fail "package lacks /usr/$1"
}
expect_file bin/pelmoravan
grep -q '^-rwxr-xr-x \./usr/bin/pelmoravan$' "$SCRATCH/contents.txt" || fail "/usr/bin/pelmoravan is not 0755"
expect_file "share/applications/$ID.desktop"
expect_file "share/metainfo/$ID.metainfo.xml"
expect_file share/man/man6/pelmoravan.6.gz
for size in 16 32 48 64 128 256; do
    expect_file "share/icons/hicolor/${size}x${size}/apps/$ID.png"
done
outside=$(awk '{print $2}' "$SCRATCH/contents.txt" | grep -v '^\./usr/' | grep -v '^\./$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# The unpacked files are what a desktop reads.
dpkg-deb -x "$DEB" "$SCRATCH/root"
out=$(desktop-file-validate "$SCRATCH/root/usr/share/applications/$ID.desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=pelmoravan --xdg-data' "$SCRATCH/root/usr/share/applications/$ID.desktop" ||
    fail "the menu entry does not keep the files in the data folder"
appstreamcli validate-tree --no-net "$SCRATCH/root" >"$SCRATCH/tree.txt" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$SCRATCH/tree.txt")"
# A stripped binary: the package carries no debug information.
sections=$(readelf -S --wide "$SCRATCH/root/usr/bin/pelmoravan")
! grep -qE '\.(symtab|debug_info)' <<<"$sections" || fail "the packed binary is not stripped"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
echo "$(basename "$DEB"): control fields, dependencies and contents are in order"
