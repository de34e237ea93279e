#!/usr/bin/env bash
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

# A second copy runs on its own.
(cd "$WORKDIR" && exec env SDL_AUDIODRIVER=dummy "$GAME" >/dev/null 2>&1) &
second=$!
sleep 2
kill -0 "$second" 2>/dev/null || fail "the second copy did not keep running"
kill "$second"
wait "$second" 2>/dev/null || true

key Escape
wait_exit 10
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
