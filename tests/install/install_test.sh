#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `cmake --install` into a scratch prefix must give a desktop application: the binary, a menu
# entry and metainfo that the freedesktop and AppStream validators accept and that agree with
# each other, icons at every size, a manual page, a command line that answers without a display,
# and a menu-style launch that keeps its files in the player's data folder.
# Usage: install_test.sh <build folder>. Needs no network and no display.
set -euo pipefail

BUILD=$(readlink -f "$1")
ID=io.github.pelmoravan.Pelmoravan
SIZES=(16 32 48 64 128 256)
ROOT=$(mktemp -d)
PREFIX="$ROOT/usr"
GAME_PID=""
FAILURES=0

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    rm -rf "$ROOT"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

# The value of KEY in the [Desktop Entry] group of the installed launcher.
desktop_key() {
    awk -v key="$1" '/^\[/ { group = ($0 == "[Desktop Entry]") }
        group && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$DESKTOP"
}

# The text of the first <TAG> element of the installed metainfo.
metainfo_tag() {
    grep -o -m1 "<$1[^>]*>[^<]*</$1>" "$METAINFO" | sed -n '1{s/<[^>]*>//g;p}'
}

if ! cmake --install "$BUILD" --prefix "$PREFIX" >"$ROOT/install.log" 2>&1; then
    cat "$ROOT/install.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
fi

BIN="$PREFIX/games/pelmoravan"
DESKTOP="$PREFIX/share/applications/$ID.desktop"
METAINFO="$PREFIX/share/metainfo/$ID.metainfo.xml"
for file in "$BIN" "$DESKTOP" "$METAINFO"; do
    [ -f "$file" ] || { echo "FAIL: not installed: ${file#"$ROOT"/}" >&2; exit 1; }
done
[ -x "$BIN" ] || fail "the binary is not executable"

# ---- the validators ----------------------------------------------------------------------------
# desktop-file-validate prints hints even when it passes; any line at all is a fault to mend.
out=$(desktop-file-validate "$DESKTOP" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$METAINFO" >"$ROOT/validate.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "$ROOT/validate.txt")"
# The tree check reads the launcher beside the metainfo: a launchable that names no installed
# file, or categories the launcher lacks, fail here.
appstreamcli validate-tree --no-net "$ROOT" >"$ROOT/tree.txt" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$ROOT/tree.txt")"
# Pedantic notes are allowed but known: the only one is the capital letter the reverse-DNS id
# ends in, which keeps the id equal to the launcher's file name.
appstreamcli validate --no-net --pedantic "$METAINFO" >"$ROOT/pedantic.txt" 2>&1 || true
notes=$(grep -E '^ *[EWIP]: ' "$ROOT/pedantic.txt" | grep -v 'cid-contains-uppercase-letter' || true)
[ -z "$notes" ] || fail "new pedantic notes: $notes"

# ---- launcher, metainfo and files agree ---------------------------------------------------------
[ "$(metainfo_tag id)" = "$ID" ] || fail "metainfo id is '$(metainfo_tag id)', not $ID"
[ "$(metainfo_tag launchable)" = "$ID.desktop" ] || fail "metainfo launchable is '$(metainfo_tag launchable)'"
[ "$(metainfo_tag binary)" = "pelmoravan" ] || fail "metainfo provides binary '$(metainfo_tag binary)'"
[ "$(desktop_key Icon)" = "$ID" ] || fail "launcher icon is '$(desktop_key Icon)', not $ID"
[ "$(desktop_key Terminal)" = "false" ] || fail "launcher would open a terminal"
exec_line=$(desktop_key Exec)
program=${exec_line%% *}
[ "$program" = "$BIN" ] || fail "launcher runs '$program', not the installed binary $BIN"
grep -q '^Categories=.*Game;' "$DESKTOP" || fail "launcher is not in the Game category"
# The window names its launcher (Qt keeps the name as UTF-16), so that a Wayland desktop shows
# the launcher's icon for it.
strings -el "$BIN" | grep -x "$ID" >/dev/null || fail "the binary does not name its launcher $ID"

# ---- icons: one RGBA PNG of the right size per folder ------------------------------------------
for size in "${SIZES[@]}"; do
    icon="$PREFIX/share/icons/hicolor/${size}x${size}/apps/$ID.png"
    if [ ! -f "$icon" ]; then
        fail "no ${size}x${size} icon"
        continue
    fi
    signature=$(od -An -tx1 -N8 "$icon" | tr -d ' \n')
    [ "$signature" = "89504e470d0a1a0a" ] || { fail "${size}x${size} icon is not a PNG"; continue; }
    read -r -a ihdr <<<"$(od -An -tu1 -j16 -N10 "$icon")"
    width=$(( (ihdr[0] << 24) | (ihdr[1] << 16) | (ihdr[2] << 8) | ihdr[3] ))
    height=$(( (ihdr[4] << 24) | (ihdr[5] << 16) | (ihdr[6] << 8) | ihdr[7] ))
    [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
        fail "${size}x${size} icon is ${width}x${height}"
    [ "${ihdr[8]}" -eq 8 ] && [ "${ihdr[9]}" -eq 6 ] ||
        fail "${size}x${size} icon is not 8-bit RGBA (depth ${ihdr[8]}, colour type ${ihdr[9]})"
done
extra=$(find "$PREFIX/share/icons" -type f ! -name "$ID.png")
[ -z "$extra" ] || fail "stray files among the icons: $extra"

# ---- the manual page: installed, and it names every option that --help names ----------------
MAN="$PREFIX/share/man/man6/pelmoravan.6.gz"
if [ ! -f "$MAN" ]; then
    fail "no manual page pelmoravan.6.gz"
else
    out=$(zcat "$MAN" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1) || true
    [ -z "$out" ] || fail "groff warns about the manual page: $out"
    # Read whole first: grep -q ending a pipe early would fail zcat with SIGPIPE under pipefail.
    page=$(zcat "$MAN" | sed 's/\\-/-/g')
    for option in $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$BIN" --help | grep -o -- '--[a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$page" || fail "the manual page lacks $option"
    done
fi

# ---- the documentation: every page and picture the README links to is installed beside it ----
DOC="$PREFIX/share/doc/pelmoravan"
if [ ! -f "$DOC/README.md" ]; then
    fail "no README.md in share/doc/pelmoravan"
else
    for page in "$DOC/README.md" "$DOC"/docs/*.md "$DOC"/assets/*.md; do
        for link in $(grep -oE '\]\([^):#]+\.(md|png)\)' "$page" | sed 's/^](//; s/)$//'); do
            [ -f "$(dirname "$page")/$link" ] || fail "${page#"$DOC"/} links to $link, which is not installed"
        done
    done
    [ -f "$DOC/assets/README.md" ] || fail "the assets' README, which names their licences, is not installed"
    grep -q '^MIT License' "$DOC/LICENSE" 2>/dev/null || fail "the licence is not installed"
fi

# ---- the command line answers with no display and writes nothing -----------------------------
CLIDIR="$ROOT/cli"
mkdir -p "$CLIDIR"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$CLIDIR")
# run ARGS...: the installed binary in $CLIDIR with no display; sets RC, OUT and ERR.
run() {
    RC=0
    (cd "$CLIDIR" && exec "${nodisplay[@]}" "$BIN" "$@" >"$ROOT/out.txt" 2>"$ROOT/err.txt") || RC=$?
    OUT=$(cat "$ROOT/out.txt")
    ERR=$(cat "$ROOT/err.txt")
}
run --help
[ "$RC" = 0 ] && [ -z "$ERR" ] && grep -q '^Usage: pelmoravan' "$ROOT/out.txt" || fail "--help: $RC, $OUT$ERR"
for option in --version -v; do
    run "$option"
    [ "$RC" = 0 ] && [ "$OUT" = "pelmoravan 2.2" ] && [ -z "$ERR" ] || fail "$option: $RC, $OUT$ERR"
done
run
[ "$RC" = 1 ] && [[ "$ERR" == *"xvfb-run -a $BIN"* ]] || fail "with no display: $RC, $ERR"
run --language english --bogus
[ "$RC" = 2 ] && [ -z "$OUT" ] && [ "$ERR" = "pelmoravan: unknown option '--bogus'; try --help" ] ||
    fail "a bad option: $RC, $OUT$ERR"
run --language french
[ "$RC" = 2 ] && [ "$(wc -l <"$ROOT/err.txt")" = 1 ] || fail "a bad value: $RC, $ERR"
[ -z "$(ls -A "$CLIDIR")" ] || fail "the command line wrote: $(ls -A "$CLIDIR")"

export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(readlink -f "$(dirname "$0")/../lsan.supp"):print_suppressions=0}"
# start_in DIR FILE ARGS...: starts ARGS in DIR and waits until FILE exists and the game still
# runs a second later; then ends it.
start_in() {
    local dir=$1 file=$2
    shift 2
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@" >"$ROOT/game.out" 2>&1) &
    GAME_PID=$!
    for _ in $(seq 200); do
        [ -f "$file" ] && break
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -f "$file" ]; then
        fail "$* made no ${file#"$ROOT"/}: $(cat "$ROOT/game.out")"
    else
        sleep 1
        kill -0 "$GAME_PID" 2>/dev/null || fail "$* ended by itself: $(cat "$ROOT/game.out")"
    fi
    kill "$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
}
# Qt's -platform stands in for a display.
start_in "$CLIDIR" "$CLIDIR/Pelmoravan.sco" "${nodisplay[@]}" "$BIN" -platform offscreen

# ---- a menu launch: the Exec line, in a fresh home folder --------------------------------------
# A menu starts the game in the home folder; the entry keeps both files in the data folder.
HOMEDIR="$ROOT/home"
DATA="$HOMEDIR/.local/share/pelmoravan"
mkdir -p "$HOMEDIR"
# Field codes (%f, %U, ...) are the launcher's to fill; none is passed here.
read -r -a command <<<"$(sed 's/ %[a-zA-Z]//g' <<<"$exec_line")"
start_in "$HOMEDIR" "$DATA/back.MID" env -u XDG_DATA_HOME HOME="$HOMEDIR" \
    QT_QPA_PLATFORM=offscreen "${command[@]}"
[ "$(stat -c %s "$DATA/Pelmoravan.sco" 2>/dev/null)" = 593 ] || fail "the menu launch made no score file in $DATA"
for file in Pelmoravan.sco back.MID; do
    [ ! -e "$HOMEDIR/$file" ] || fail "the menu launch wrote $file into the home folder"
done

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
echo "installed tree is a valid desktop application (${#SIZES[@]} icons)"
