#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game opens its window over the work area of a real X display and a second copy runs
# beside the first; Esc ends the program with exit code 0.
source "$(dirname "$0")/lib.sh" "$1"

start_xvfb 1024x768
start_game
read -r _ _ <<<"$(client_origin)"
geometry=$(xdotool getwindowgeometry "$WID")
echo "$geometry"
echo "$geometry" | grep -q "Geometry: 1024x" || fail "window does not span the screen: $geometry"
shot started >/dev/null

# A second copy runs on its own: a main window of its own over the screen (not an error box),
# nothing said on stderr, and the shared score file left sound.
(cd "$WORKDIR" && exec env SDL_AUDIODRIVER=dummy "$GAME" >/dev/null 2>"$SHOTS/second-stderr.txt") &
second=$!
others=""
opened() {
    others=$(xdotool search --onlyvisible --name "Pelmoravan" 2>/dev/null | grep -vx "$WID" || true)
    [ -n "$others" ]
}
wait_until 30 "the second copy opened no window" opened
for w in $others; do
    xdotool getwindowgeometry "$w" | grep -q "Geometry: 1024x" ||
        fail "the second copy's window is no main window: $(xdotool getwindowgeometry "$w")"
    wait_until 30 "the second copy's window shows no play surface" drawn "$w"
done
kill -0 "$second" 2>/dev/null || fail "the second copy did not keep running"
shot second-copy >/dev/null
grep -q '^pelmoravan:' "$SHOTS/second-stderr.txt" && fail "the second copy wrote: $(cat "$SHOTS/second-stderr.txt")"
kill "$second"
wait "$second" 2>/dev/null || true
[ "$(stat -c %s "$WORKDIR/Pelmoravan.sco")" = 593 ] || fail "two copies left a score file that is not 593 bytes"

key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
