# SPDX-License-Identifier: MIT
# A first start in a fresh working directory: the score file and the music track appear, the
# music is audible on the disk audio driver, and the Sequence command lists the ten rows.
# Then two starts that must not go wrong: no sound device (plays on, one line on stderr) and a
# score file that cannot be opened (one message box, one line, exit code 1, nothing written).
source "$(dirname "$0")/lib.sh" "$1"

start_xvfb 1024x768
# Qt warns on stderr without a runtime folder; the lines counted below are the game's own.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR"' EXIT

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$SHOTS/mix.raw"
start_game

# --- the files of a first start ---
[ -f "$WORKDIR/Pelmoravan.sco" ] || fail "no score file after start-up"
size=$(stat -c %s "$WORKDIR/Pelmoravan.sco")
[ "$size" = 593 ] || fail "score file has $size bytes, not 593"
expected_header=$(printf '\nPelmoravan\004V2.0\0\0\0\0\0\0\007qorbent\0\0\0' | od -An -tx1 -v | tr -d ' \n')
header=$(head -c 33 "$WORKDIR/Pelmoravan.sco" | od -An -tx1 -v | tr -d ' \n')
[ "$header" = "$expected_header" ] || fail "score file header is $header"
nonzero=$(tail -c 560 "$WORKDIR/Pelmoravan.sco" | od -An -tu1 -v | tr -s ' ' '\n' | grep -cv '^0*$' || true)
[ "$nonzero" = 0 ] || fail "the ten entries of a new score file are not empty"
[ -s "$WORKDIR/back.MID" ] || fail "no back.MID after start-up"
magic=$(head -c 4 "$WORKDIR/back.MID")
[ "$magic" = "MThd" ] || [ "$magic" = "RIFF" ] || fail "back.MID is no MIDI file (starts with '$magic')"

# --- music is audible: samples well away from silence in the mix the driver writes ---
# audible: whether the mix so far holds more than 1000 of them.
audible() {
    local loud
    loud=$(od -An -td2 -v "$SHOTS/mix.raw" | awk '{for (i = 1; i <= NF; i++) if ($i > 400 || $i < -400) n++} END {print n + 0}')
    SEEN="$loud loud samples"
    [ "$loud" -gt 1000 ]
}
wait_until 60 "the music is not audible" audible

# --- Sequence: Other, Up to its last item; the header and ten ranks in the rank column ---
read_menu_bar
choose 2 1
LIST=$(timeout 10 xdotool search --sync --onlyvisible --name "排名" 2>/dev/null | head -n1) || true
[ -n "$LIST" ] || fail "Sequence showed no score list"
wait_until 20 "the score list did not take the keyboard" focused "$LIST"
eval "$(xdotool getwindowgeometry --shell "$LIST" | sed 's/^/L/')"
# rank_rows: whether a screenshot shows 11 lines of text in the rank column.
rank_rows() {
    "$CONVERT" "$(shot sequence)" -crop "30x250+$((LX + 12))+$((LY + 10))" -colorspace Gray -threshold 60% \
        -negate -scale '1x250!' -depth 8 txt:- >"$SHOTS/rank-column.txt"
    SEEN="$(awk -F'[(,)]' 'NR > 1 { dark = ($3 + 0 > 0); if (dark && !prev) n++; prev = dark } END {print n + 0}' \
        "$SHOTS/rank-column.txt") lines"
    [ "$SEEN" = "11 lines" ]
}
wait_until 20 "the score list does not show the header and ten rows in its rank column" rank_rows
xdotool key Return
closed() { [ -z "$(xdotool search --onlyvisible --name "排名" 2>/dev/null)" ]; }
wait_until 20 "OK did not close the score list" closed
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after the score list"
grep -q '^pelmoravan:' "$SHOTS/stderr.txt" && fail "a start with a sound device wrote: $(cat "$SHOTS/stderr.txt")"
# With the sound device open, Ctrl+C still ends the game (SDL keeps its hands off the signals).
kill -INT "$GAME_PID"
wait_exit 30
[ "$EXIT_CODE" != timeout ] || fail "Ctrl+C did not end the game"

# --- no sound device: the game starts and says so in one line ---
rm -rf "$WORKDIR"
WORKDIR=$(mktemp -d)
export SDL_AUDIODRIVER=no-such-driver
start_game
kill -0 "$GAME_PID" 2>/dev/null || fail "the game did not run without a sound device"
[ -s "$WORKDIR/back.MID" ] || fail "no back.MID without a sound device"
count=$(wc -l <"$SHOTS/stderr.txt")
[ "$count" = 1 ] || fail "without a sound device stderr has $count lines: $(cat "$SHOTS/stderr.txt")"
grep -q '^pelmoravan: no usable sound device' "$SHOTS/stderr.txt" || fail "unexpected: $(cat "$SHOTS/stderr.txt")"
kill "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""

# --- a score file that cannot be opened ends the start with one box and one line ---
rm -rf "$WORKDIR"
WORKDIR=$(mktemp -d)
mkdir "$WORKDIR/Pelmoravan.sco"
export SDL_AUDIODRIVER=dummy
# The message box on a real X display leaves one block of the D-Bus library unfreed at exit,
# which the leak checker of a sanitizer build would turn into another exit code.
echo "leak:libdbus-1.so" >"$XDG_RUNTIME_DIR/lsan.supp"
(cd "$WORKDIR" && exec env LSAN_OPTIONS="suppressions=$XDG_RUNTIME_DIR/lsan.supp:print_suppressions=0" "$GAME" \
    >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
BOX=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
[ -n "$BOX" ] || fail "no message box for a score file that cannot be opened"
wait_until 20 "the message box did not take the keyboard" focused "$BOX"
shot start-error >/dev/null
xdotool key Return || true
wait_exit 30
[ "$EXIT_CODE" != timeout ] || fail "the game did not end after the start-up error"
code=$EXIT_CODE
[ "$code" = 1 ] || fail "exit code $code after the start-up error, not 1"
line='pelmoravan: Cannot open file "Pelmoravan.sco". Is a directory'
[ "$(cat "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
[ "$(ls -A "$WORKDIR")" = "Pelmoravan.sco" ] || fail "the failed start wrote files: $(ls -A "$WORKDIR")"
echo "PASS"
