#!/usr/bin/env bash
# What stands at the score file's path, seen by the real game: a FIFO ends the start at once
# with one message box, one line and exit code 1, and is left as it was, as does a data folder
# that cannot be made; a foreign file behind a symbolic link is kept in a backup beside the link
# before its target holds the empty list.
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

# --- a foreign file behind a link: its bytes kept beside the link, the target reset ---
rm -f "$WORKDIR/Pelmoravan.sco"
OTHER=$(mktemp -d)
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$OTHER"' EXIT
seq 1 400 >"$OTHER/notes.txt"
cp "$OTHER/notes.txt" "$SHOTS/notes.txt"
ln -s "$OTHER/notes.txt" "$WORKDIR/Pelmoravan.sco"
start_game
cmp -s "$WORKDIR/Pelmoravan.sco.bak" "$SHOTS/notes.txt" || fail "the backup does not hold the target's bytes"
[ -L "$WORKDIR/Pelmoravan.sco" ] || fail "the link was replaced"
[ "$(stat -L -c %s "$WORKDIR/Pelmoravan.sco")" = 593 ] || fail "the target was not reset to the empty list"
line="pelmoravan: \"Pelmoravan.sco\" held no score list; its bytes are kept in \"Pelmoravan.sco.bak\""
[ "$(grep '^pelmoravan:' "$SHOTS/stderr.txt")" = "$line" ] || fail "stderr: $(cat "$SHOTS/stderr.txt")"
key Escape
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
