#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts that meet a fault and must not go wrong: a damaged score file is kept and reset, a game
# without a sound device plays silently, a game without a MIDI soundfont has effects but no
# music, and a read-only working directory ends the start with one message and exit code 1.
source "$(dirname "$0")/lib.sh" "$1"

start_xvfb 1024x768
# Qt warns on stderr without a runtime folder; the lines counted below are the game's own.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
SCRATCH=$(mktemp -d)
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$SCRATCH"' EXIT

# fresh_workdir: a new empty working directory for the next start.
fresh_workdir() {
    rm -rf "$WORKDIR"
    WORKDIR=$(mktemp -d)
}

# samples FILE FROM [COUNT]: the 16-bit samples of a raw mix from byte FROM on, one a line.
samples() {
    if [ -n "${3:-}" ]; then
        tail -c +"$(($2 + 1))" "$1" | head -c "$3" | od -An -td2 -v | tr -s ' ' '\n' | grep -v '^$' || true
    else
        tail -c +"$(($2 + 1))" "$1" | od -An -td2 -v | tr -s ' ' '\n' | grep -v '^$' || true
    fi
}

# loud: counts the samples on stdin well away from silence.
loud() {
    awk '$1 > 1000 || $1 < -1000 {n++} END {print n + 0}'
}

# game_lines: the lines the game itself wrote on stderr.
game_lines() {
    grep -c '^pelmoravan:' "$SHOTS/stderr.txt" || true
}

# quit_with_esc: Esc must end the game with exit code 0.
quit_with_esc() {
    key Escape
    wait_exit 30
    [ "$EXIT_CODE" = "0" ] || fail "$1: Esc gave exit code $EXIT_CODE"
}

# dealt NAME: whether a screenshot NAME shows the 160 tiles of a new Easy board.
dealt() { cells "$1" && SEEN="$(count "$1" tile) tiles" && [ "$(count "$1" tile)" = 160 ]; }

# faces NAME: cell and picture of each tile in $SHOTS/NAME.txt.
faces() { awk '$1 == "cell" && $4 == "tile" {print $2, $3, $8}' "$SHOTS/$1.txt"; }

# shuffled: whether a screenshot shows the tiles' pictures in other places than before F5.
shuffled() { cells shuffled && ! faces shuffled | cmp -s - "$SHOTS/before-shuffle.txt"; }

# client_centre: prints "X Y" of the middle of the play surface, where the dealt board lies.
client_centre() {
    local x y w h
    read -r x y < <(client_origin)
    eval "$(xdotool getwindowgeometry --shell "$WID" | grep -E '^(WIDTH|HEIGHT)=')"
    w=$WIDTH
    h=$HEIGHT
    echo $((x + w / 2)) $((y + h / 2))
}

# --- a damaged score file: kept in a backup, then reset to the header and ten empty entries ---
fresh_workdir
{
    printf '\nPelmoravaX'           # one character off the tag
    head -c 989 /dev/zero | tr '\0' '\253'
} >"$WORKDIR/Pelmoravan.sco"
cp "$WORKDIR/Pelmoravan.sco" "$SHOTS/damaged.sco"
export SDL_AUDIODRIVER=dummy
start_game
size=$(stat -c %s "$WORKDIR/Pelmoravan.sco")
[ "$size" = 593 ] || fail "the damaged score file has $size bytes after the start, not 593"
expected_header=$(printf '\nPelmoravan\004V2.0\0\0\0\0\0\0\007qorbent\0\0\0' | od -An -tx1 -v | tr -d ' \n')
header=$(head -c 33 "$WORKDIR/Pelmoravan.sco" | od -An -tx1 -v | tr -d ' \n')
[ "$header" = "$expected_header" ] || fail "the damaged score file's header is $header"
nonzero=$(tail -c 560 "$WORKDIR/Pelmoravan.sco" | od -An -tu1 -v | tr -s ' ' '\n' | grep -cv '^0*$' || true)
[ "$nonzero" = 0 ] || fail "the damaged score file's entries were not emptied"
cmp -s "$WORKDIR/Pelmoravan.sco.bak" "$SHOTS/damaged.sco" || fail "the damaged score file's bytes were not kept"
[ "$(game_lines)" = 1 ] || fail "the reset did not name its backup once: $(cat "$SHOTS/stderr.txt")"
[ -z "$(xdotool search --onlyvisible --name '^Pelmoravan$' 2>/dev/null)" ] || fail "a message box came up"
quit_with_esc "after the score file reset"

# --- no sound device: one line, then a game with clicks, a hint and a shuffle, all silent ---
fresh_workdir
export SDL_AUDIODRIVER=no-such-driver
start_game
key F2
wait_until 40 "F2 dealt no board without a sound device" dealt nodevice-board
# Two clicks on the board, a hint and a shuffle: each asks for an effect that has no device.
read -r mx my < <(client_centre)
click "$mx" "$my"
click $((mx + 50)) "$my"
show_hint
faces hint >"$SHOTS/before-shuffle.txt"
key F5
wait_until 40 "F5 did not mix the board without a sound device" shuffled
kill -0 "$GAME_PID" 2>/dev/null || fail "the game without a sound device ended while playing"
[ "$(game_lines)" = 1 ] || fail "without a sound device the game wrote: $(cat "$SHOTS/stderr.txt")"
grep -q '^pelmoravan: no usable sound device' "$SHOTS/stderr.txt" || fail "unexpected: $(cat "$SHOTS/stderr.txt")"
quit_with_esc "without a sound device"

# --- no soundfont: the title's music is silence, a hint's effect is heard ---
fresh_workdir
MIX="$SHOTS/nofont-mix.raw"
rm -f "$MIX"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$MIX" SDL_SOUNDFONTS="$SCRATCH/missing.sf2"
start_game
# At least a second of the title's sound at 44.1 kHz, 16-bit stereo.
written() { SEEN="$(stat -c %s "$MIX") bytes"; [ "${SEEN% bytes}" -gt 176400 ]; }
wait_until 30 "the disk driver wrote no second of sound" written
quiet=$(stat -c %s "$MIX")
[ "$(samples "$MIX" 0 "$quiet" | loud)" = 0 ] || fail "music is heard without a soundfont"
[ "$(samples "$MIX" 0 "$quiet" | grep -cv '^0$' || true)" = 0 ] || fail "the title is not silent without a soundfont"
key F2
wait_until 40 "F2 dealt no board without a soundfont" dealt nofont-board
key F4
heard() { SEEN="$(samples "$MIX" "$quiet" | loud) loud samples"; [ "${SEEN% loud samples}" -gt 100 ]; }
wait_until 30 "no effect heard without a soundfont" heard
[ "$(game_lines)" = 1 ] || fail "without a soundfont the game wrote: $(cat "$SHOTS/stderr.txt")"
grep -q '^pelmoravan: no MIDI soundfont' "$SHOTS/stderr.txt" || fail "unexpected: $(cat "$SHOTS/stderr.txt")"
quit_with_esc "without a soundfont"
unset SDL_DISKAUDIOFILE SDL_SOUNDFONTS

# --- a read-only working directory: one message box, one line, exit code 1, nothing written ---
# Root writes through any mode bits, and CI runs as root: there the game runs as the
# unprivileged user nobody, from copies of the binary and the leak suppressions it can read,
# with a home and runtime folder of its own outside the working directory. Anyone else is
# simply denied by the directory's mode.
export SDL_AUDIODRIVER=dummy
chmod 755 "$SCRATCH"
readonly_dir="$SCRATCH/readonly"
mkdir "$readonly_dir"
chmod 555 "$readonly_dir"
as_user=()
binary="$GAME"
supp="$(dirname "$(readlink -f "$0")")/../lsan.supp"
run_env=(XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR")
if [ "$(id -u)" = 0 ]; then
    id nobody >/dev/null 2>&1 || fail "no user nobody to run the read-only case as"
    cp "$GAME" "$SCRATCH/pelmoravan"
    cp "$supp" "$SCRATCH/lsan.supp"
    chmod 755 "$SCRATCH/pelmoravan"
    chmod 644 "$SCRATCH/lsan.supp"
    binary="$SCRATCH/pelmoravan"
    supp="$SCRATCH/lsan.supp"
    mkdir -m 700 "$SCRATCH/home"
    chown nobody "$SCRATCH/home"
    run_env=(HOME="$SCRATCH/home" XDG_RUNTIME_DIR="$SCRATCH/home")
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
    # Prove the directory refuses the game's user before blaming the game.
    "${as_user[@]}" sh -c ": >'$readonly_dir/probe'" 2>/dev/null && fail "nobody can write the read-only directory"
fi
(cd "$readonly_dir" && exec env "${run_env[@]}" LSAN_OPTIONS="suppressions=$supp:print_suppressions=0" \
    "${as_user[@]}" "$binary" >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
BOX=$(timeout 30 xdotool search --sync --onlyvisible --name '^Pelmoravan$' 2>/dev/null | head -n1) || true
[ -n "$BOX" ] || fail "no message box for a read-only working directory"
wait_until 20 "the message box did not take the keyboard" focused "$BOX"
shot readonly-error >/dev/null
eval "$(xdotool getwindowgeometry --shell "$BOX" | grep -E '^(WIDTH|HEIGHT)=')"
[ "$WIDTH" -lt 1024 ] || fail "the window that came up is not a message box (${WIDTH}x$HEIGHT)"
[ "$(xdotool search --onlyvisible --name 'Pelmoravan' 2>/dev/null | wc -l)" = 1 ] || fail "more than one window came up"
xdotool key Return || true
wait_exit 30
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the read-only start, not 1"
line='pelmoravan: Cannot create file "Pelmoravan.sco". Permission denied'
[ "$(cat "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
[ -z "$(ls -A "$readonly_dir")" ] || fail "the read-only start wrote: $(ls -A "$readonly_dir")"
chmod 755 "$readonly_dir"
echo "PASS"
