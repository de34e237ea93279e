#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as a packager makes it: dpkg-buildpackage builds the source package and the
# binary one from the tracked files, with no network; lintian finds no error and no warning in
# either (its pedantic notes are the ones docs/installing.md lists); the binary is hardened by
# dpkg-buildflags and lands in /usr/games with the menu entry pointing at it; dpkg installs the
# package, the game answers, and dpkg removes it again without leaving a file.
# Usage: deb_test.sh <source folder>. Needs root (dpkg), git and the Build-Depends installed.
set -euo pipefail

SOURCE=$(readlink -f "$1")
ID=io.github.pelmoravan.Pelmoravan
SCRATCH=$(mktemp -d)
INSTALLED=0
FAILURES=0

cleanup() {
    if [ "$INSTALLED" = 1 ]; then dpkg --purge pelmoravan >/dev/null 2>&1 || true; fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

[ "$(id -u)" = 0 ] || { echo "FAIL: installing the package needs root" >&2; exit 1; }
if dpkg-query -W -f='${Status}' pelmoravan 2>/dev/null | grep -q 'ok installed'; then
    echo "FAIL: pelmoravan is installed already; this test installs and removes its own" >&2
    exit 1
fi

# ---- the build: the tracked files as they are in the working tree, with no network -------------
version=$(dpkg-parsechangelog -l "$SOURCE/debian/changelog" -S Version)
TREE="$SCRATCH/pelmoravan-$version"
mkdir -p "$TREE"
(cd "$SOURCE" && git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    xargs -0 cp --parents -P -t "$TREE")
# Two jobs at most: the machine's cores are shared.
if ! (cd "$TREE" && DEB_BUILD_OPTIONS="nocheck parallel=2" unshare --net \
        dpkg-buildpackage -us -uc) >"$SCRATCH/build.log" 2>&1; then
    tail -n 60 "$SCRATCH/build.log" >&2
    echo "FAIL: dpkg-buildpackage failed" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
DEB="$SCRATCH/pelmoravan_${version}_$arch.deb"
DSC="$SCRATCH/pelmoravan_$version.dsc"
for file in "$DEB" "$DSC" "$SCRATCH/pelmoravan_$version.tar.xz" "$SCRATCH/pelmoravan_${version}_$arch.changes"; do
    [ -f "$file" ] || { echo "FAIL: the build made no $(basename "$file")" >&2; ls "$SCRATCH" >&2; exit 1; }
done
# The compiler saw dpkg-buildflags' flags.
grep -q -- '-D_FORTIFY_SOURCE=2' "$SCRATCH/build.log" && grep -q -- '-Wl,-z,relro' "$SCRATCH/build.log" &&
    grep -q -- '-Wl,-z,now' "$SCRATCH/build.log" || fail "the build did not use dpkg-buildflags' hardening flags"

# ---- lintian -----------------------------------------------------------------------------------
rc=0
lintian --pedantic --info --tag-display-limit 0 "$DSC" "$DEB" >"$SCRATCH/lintian.txt" 2>&1 || rc=$?
# 1 is lintian's own failure (not a finding): then nothing was checked.
[ "$rc" = 0 ] || [ "$rc" = 2 ] || fail "lintian could not check the packages ($rc): $(cat "$SCRATCH/lintian.txt")"
errors=$(grep -c '^E: ' "$SCRATCH/lintian.txt" || true)
warnings=$(grep -c '^W: ' "$SCRATCH/lintian.txt" || true)
[ "$errors" = 0 ] && [ "$warnings" = 0 ] ||
    fail "lintian: $errors error(s), $warnings warning(s): $(grep -E '^[EW]: ' "$SCRATCH/lintian.txt")"
# Every pedantic note is one the packager knows of.
while read -r tag; do
    grep -q -- "\`$tag\`" "$SOURCE/docs/installing.md" || fail "lintian's pedantic note $tag is not in docs/installing.md"
done < <(sed -n 's/^P: [^ ]*: \([^ ]*\).*/\1/p' "$SCRATCH/lintian.txt" | sort -u)

# ---- control fields ----------------------------------------------------------------------------
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Section)" = "games" ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
names() { field "$1" | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' | grep -v '^$' || true; }
depends=$(names Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-mixer-2.0-0 libfluidsynth3 libstdc++6 libc6 \
           fonts-wqy-microhei qt6-translations-l10n; do
    grep -qx "$lib" <<<"$depends" || fail "Depends lacks $lib: $(field Depends)"
done
grep -qx timgm6mb-soundfont <<<"$(names Recommends)" || fail "Recommends lacks the soundfont: $(field Recommends)"

# ---- contents ----------------------------------------------------------------------------------
dpkg-deb -x "$DEB" "$SCRATCH/root"
dpkg-deb -c "$DEB" | awk '{print $1, $6}' >"$SCRATCH/contents.txt"
grep -q '^-rwxr-xr-x \./usr/games/pelmoravan$' "$SCRATCH/contents.txt" || fail "no /usr/games/pelmoravan, 0755"
for file in "share/applications/$ID.desktop" "share/metainfo/$ID.metainfo.xml" share/man/man6/pelmoravan.6.gz \
            share/doc/pelmoravan/copyright share/doc/pelmoravan/changelog.gz \
            share/doc/pelmoravan/assets/README.md share/doc/pelmoravan/docs/screenshot-title.png; do
    grep -q " \./usr/$file\$" "$SCRATCH/contents.txt" || fail "the package lacks /usr/$file"
done
! grep -q '\./usr/bin/' "$SCRATCH/contents.txt" || fail "the package puts something in /usr/bin"
grep -qx 'Exec=/usr/games/pelmoravan --xdg-data' "$SCRATCH/root/usr/share/applications/$ID.desktop" ||
    fail "the menu entry does not start /usr/games/pelmoravan --xdg-data"
out=$(desktop-file-validate "$SCRATCH/root/usr/share/applications/$ID.desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate-tree --no-net "$SCRATCH/root" >"$SCRATCH/tree.txt" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$SCRATCH/tree.txt")"
# Hardened as dpkg-buildflags asks: position-independent, read-only relocations bound at start.
BIN="$SCRATCH/root/usr/games/pelmoravan"
[ "$(readelf -h "$BIN" | awk '/Type:/ {print $2}')" = DYN ] || fail "the binary is not position-independent"
readelf -lW "$BIN" | grep -q GNU_RELRO || fail "the binary has no read-only relocations"
readelf -dW "$BIN" | grep -qE 'BIND_NOW|FLAGS.*NOW' || fail "the binary is not bound at start (-z now)"

# ---- install, run, remove ----------------------------------------------------------------------
if dpkg -i "$DEB" >"$SCRATCH/dpkg.log" 2>&1; then
    INSTALLED=1
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/games/pelmoravan --version 2>&1) || true
    [ "$out" = "pelmoravan $version" ] || fail "the installed game answers --version with: $out"
    out=$(cd "$SCRATCH" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/games/pelmoravan 2>&1) || true
    [[ "$out" == *"xvfb-run -a /usr/games/pelmoravan"* ]] || fail "with no display the installed game says: $out"
    man -w pelmoravan >/dev/null 2>&1 || fail "man finds no page for pelmoravan"
    if dpkg --purge pelmoravan >>"$SCRATCH/dpkg.log" 2>&1; then
        INSTALLED=0
        left=$(dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's/^\.//' | while read -r f; do
            [ -f "$f" ] && echo "$f"; done || true)
        [ -z "$left" ] || fail "removing the package left: $left"
    else
        fail "dpkg --purge: $(cat "$SCRATCH/dpkg.log")"
    fi
else
    fail "dpkg -i: $(cat "$SCRATCH/dpkg.log")"
fi

# DEB_TEST_KEEP=DIR keeps the packages and lintian's report there.
if [ -n "${DEB_TEST_KEEP:-}" ]; then
    mkdir -p "$DEB_TEST_KEEP"
    cp "$SCRATCH"/pelmoravan_* "$SCRATCH/lintian.txt" "$SCRATCH/build.log" "$DEB_TEST_KEEP/"
fi

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
grep -E '^[IP]: ' "$SCRATCH/lintian.txt" || true
echo "$(basename "$DSC") and $(basename "$DEB"): built offline, lintian clean ($(grep -c '^[IP]: ' "$SCRATCH/lintian.txt" || true) info and pedantic notes, above), installed and removed"
