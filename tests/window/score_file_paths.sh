#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What stands at the score file's path, seen by the real game: a FIFO ends the start at once
# with one message box, one line and exit code 1, and is left as it was, as does a data folder
# that cannot be made, and a full disk; a link to a foreign file is replaced, its target left
# alone; a lock held by another copy does not hold up the start.
source "$(dirname "$0")/lib.sh" "$1"

start_xvfb 1024x768
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR SDL_AUDIODRIVER=dummy
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR"' EXIT

# --- a FIFO: no blocking, the error as for any file that cannot be opened ---
mkfifo "$WORKDIR/Pelmoravan.sco"
(cd "$WORKDIR" && exec "$GAME" >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
BOX=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pelmoravan$' 2>/dev/null | head -n1) || true
[ -n "$BOX" ] || fail "no message box within seconds for a FIFO at the score file's path"
eval "$(xdotool getwindowgeometry --shell "$BOX" | grep -E '^(WIDTH|HEIGHT)=')"
[ "$WIDTH" -lt 1024 ] || fail "the window that came up is not a message box (${WIDTH}x$HEIGHT)"
wait_until 20 "the message box did not take the keyboard" focused "$BOX"
xdotool key Return || true
wait_exit 30
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE for a FIFO, not 1"
line='pelmoravan: Cannot open file "Pelmoravan.sco". Not a regular file'
[ "$(cat "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
[ -p "$WORKDIR/Pelmoravan.sco" ] || fail "the FIFO was replaced"
[ "$(ls -A "$WORKDIR")" = Pelmoravan.sco ] || fail "the FIFO start wrote: $(ls -A "$WORKDIR")"

# --- a data folder that cannot be made: reported the same way ---
: >"$WORKDIR/plain"
(cd "$WORKDIR" && exec "$GAME" --data-dir plain/scores >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
BOX=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pelmoravan$' 2>/dev/null | head -n1) || true
[ -n "$BOX" ] || fail "no message box for a data folder that cannot be made"
wait_until 20 "the message box did not take the keyboard" focused "$BOX"
xdotool key Return || true
wait_exit 30
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE for a data folder that cannot be made, not 1"
line='pelmoravan: Cannot create folder "plain/scores". Not a directory'
[ "$(cat "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
rm "$WORKDIR/plain"

# --- a foreign file behind a link: never written through; a new score file takes the link's
# place, the target keeps its bytes and mode, and no backup of it is made ---
rm -f "$WORKDIR/Pelmoravan.sco"
OTHER=$(mktemp -d)
began=$(date +%s%N)
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$OTHER"' EXIT
seq 1 400 >"$OTHER/notes.txt"
chmod 600 "$OTHER/notes.txt"
cp -p "$OTHER/notes.txt" "$SHOTS/notes.txt"
ln -s "$OTHER/notes.txt" "$WORKDIR/Pelmoravan.sco"
start_game
free_start=$((($(date +%s%N) - began) / 1000000))
cmp -s "$OTHER/notes.txt" "$SHOTS/notes.txt" || fail "the link's target was written"
[ "$(stat -c %a "$OTHER/notes.txt")" = 600 ] || fail "the link's target changed its mode"
[ ! -L "$WORKDIR/Pelmoravan.sco" ] || fail "the link is still there"
[ "$(stat -c %s "$WORKDIR/Pelmoravan.sco")" = 593 ] || fail "no new score file at the link's place"
! ls -A "$WORKDIR" "$OTHER" | grep -q '\.bak' || fail "a backup was made: $(ls -A "$WORKDIR" "$OTHER")"
line="pelmoravan: \"Pelmoravan.sco\" is a link to \"$OTHER/notes.txt\", which holds no score list; a new score file takes the link's place and the target is left as it is"
[ "$(grep '^pelmoravan:' "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
key Escape
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"

# --- another copy holds the score file's lock for good: the game starts all the same, after
# a second's try, and Esc ends it while the lock is still held ---
# The holder is the sleep itself, with the lock on its descriptor 9: killing it lets go.
(exec 9<"$WORKDIR/Pelmoravan.sco" && flock 9 && exec sleep 120) >/dev/null 2>&1 &
HOLDER=$!
trap 'kill "$HOLDER" 2>/dev/null; cleanup; rm -rf "$XDG_RUNTIME_DIR" "$OTHER"' EXIT
wait_until 10 "flock did not take the lock" grep -q "FLOCK.*:$(stat -c %i "$WORKDIR/Pelmoravan.sco") " /proc/locks
began=$(date +%s%N)
start_game
took=$((($(date +%s%N) - began) / 1000000))
echo "window up ${took} ms after the start with the lock held, ${free_start} ms without"
# A second's try for the lock, then the start as usual (measured just before, on this machine).
[ "$took" -lt $((free_start + 1500)) ] || fail "the window took $took ms with the lock held"
line='pelmoravan: another copy of the game holds the lock of "Pelmoravan.sco"; the score file is checked at the first record'
[ "$(grep '^pelmoravan:' "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
key Escape
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE with the lock held"
kill -0 "$HOLDER" 2>/dev/null || fail "the lock's holder ended before the game did"
kill "$HOLDER"

# --- a full disk (a tmpfs of 4 KiB, filled, in a mount namespace of its own): the missing file
# is not left behind empty, and stderr names it with the system's reason ---
if unshare -m true 2>/dev/null; then
    FULL=$(mktemp -d)
    trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$OTHER" "$FULL"' EXIT
    unshare -m sh -c '
        mount -t tmpfs -o size=4k tmpfs "$1" || exit 9
        head -c 8192 /dev/zero >"$1/fill" 2>/dev/null
        "$2" --data-dir "$1" >"$3/stdout.txt" 2>"$3/stderr.txt"
        echo $? >"$3/code.txt"
        ls -A "$1" >"$3/listing.txt"' sh "$FULL" "$GAME" "$SHOTS" &
    GAME_PID=$!
    BOX=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pelmoravan$' 2>/dev/null | head -n1) || true
    [ -n "$BOX" ] || fail "no message box for a full disk"
    wait_until 20 "the message box did not take the keyboard" focused "$BOX"
    xdotool key Return || true
    wait_exit 30
    [ "$EXIT_CODE" = 0 ] || fail "the tmpfs could not be mounted (exit $EXIT_CODE)"
    [ "$(cat "$SHOTS/code.txt")" = 1 ] || fail "exit code $(cat "$SHOTS/code.txt") for a full disk, not 1"
    [ "$(cat "$SHOTS/listing.txt")" = fill ] || fail "the full disk holds: $(cat "$SHOTS/listing.txt")"
    line="pelmoravan: cannot write \"$FULL/Pelmoravan.sco\": No space left on device"
    grep -qxF "$line" "$SHOTS/stderr.txt" || fail "stderr: $(cat "$SHOTS/stderr.txt")"
else
    echo "no mount namespace here: the full disk is left to the core's failing-write test"
fi
echo "PASS"
