#!/usr/bin/env bash
# Start-up time and peak memory of the game on a private Xvfb screen of 1024 x 768.
#
#   bench/startup_memory.sh [GAME] [STARTS] [PLAY_SECONDS]
#
# Start-up: STARTS starts (default 7), each in a fresh working directory, so that the score file
# and the music track are written as at a first start; for each the time from the start of the
# process to its window being mapped and to the first frame of the title on the screen (the
# middle of the logo turns night blue). Prints every start and the median.
# Memory: one more start, F2, auto-play switched on from the menu, PLAY_SECONDS (default 60) of
# auto-play through the levels; then the peak resident set (VmHWM) from /proc/<pid>/status.
#
# GAME defaults to the release build of ./play (build/release/pelmoravan). Sound goes to SDL's
# dummy driver unless SDL_AUDIODRIVER says otherwise; the music is on, as at every start.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
GAME_ARG=$(readlink -f "${1:-$HERE/../build/release/pelmoravan}")
STARTS=${2:-7}
PLAY=${3:-60}
[ -x "$GAME_ARG" ] || { echo "no game binary at $GAME_ARG (build it with ./play or pass a path)" >&2; exit 1; }

# The window-test helpers, with their screenshots in a folder of our own.
RUNDIR=$(mktemp -d)
cd "$RUNDIR"
source "$HERE/../tests/window/lib.sh" "$GAME_ARG"
trap 'cleanup; rm -rf "$RUNDIR"' EXIT
now_ns() { date +%s%N; }

# launch: starts the game in a fresh working directory; sets STARTED to the time just before.
launch() {
    rm -rf "$WORKDIR"
    WORKDIR=$(mktemp -d)
    STARTED=$(now_ns)
    (cd "$WORKDIR" && exec env SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$GAME" >/dev/null 2>"$SHOTS/stderr.txt") &
    GAME_PID=$!
}

# The spot in the middle of the logo: before the first frame it is grey, black or the bare
# root window's weave.
logo_shown() {
    local spot r b
    spot=$(import -display "$DISPLAY" -window root -crop 1x1+432+318 -depth 8 txt:- 2>/dev/null |
        grep -o '([0-9, ]*' | tr -d '( ') || true
    IFS=, read -r r _ b <<<"${spot:-0,0,0}"
    [ "$b" -gt 60 ] && [ "$b" -gt $((r + 30)) ]
}

echo "game:  $GAME_ARG"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) on $(nproc) cores before the run"
start_xvfb 1024x768

# --- start-up ---
: >"$SHOTS/mapped.txt"
: >"$SHOTS/missed.txt"
: >"$SHOTS/framed.txt"
for run in $(seq "$STARTS"); do
    launch
    WID=""
    for _ in $(seq 3000); do
        WID=$(xdotool search --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
        [ -n "$WID" ] && break
        sleep 0.01
    done
    [ -n "$WID" ] || fail "no game window within 30 s"
    mapped=$(now_ns)
    # The frame came after the last look that missed it began, and before the one that saw it
    # ended.
    framed="" missed=$mapped
    for _ in $(seq 1000); do
        look=$(now_ns)
        logo_shown && { framed=$(now_ns); break; }
        missed=$look
    done
    [ -n "$framed" ] || fail "no logo on the screen"
    echo $(((mapped - STARTED) / 1000000)) >>"$SHOTS/mapped.txt"
    echo $(((missed - STARTED) / 1000000)) >>"$SHOTS/missed.txt"
    echo $(((framed - STARTED) / 1000000)) >>"$SHOTS/framed.txt"
    echo "start $run: window mapped after $(tail -n1 "$SHOTS/mapped.txt") ms," \
        "first title frame after $(tail -n1 "$SHOTS/missed.txt") to $(tail -n1 "$SHOTS/framed.txt") ms"
    key Escape
    wait_exit 10
    [ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
done
median() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "start-up, median of $STARTS: window mapped after $(median "$SHOTS/mapped.txt") ms," \
    "first title frame after $(median "$SHOTS/missed.txt") to $(median "$SHOTS/framed.txt") ms"

# --- memory after a minute of auto-play ---
launch
WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
[ -n "$WID" ] || fail "no game window appeared"
eval "$(xdotool getwindowgeometry --shell "$WID")"
for _ in $(seq 100); do logo_shown && break; done
read_menu_bar
key F2
sleep 1
cells dealt
choose 2 2
sleep "$PLAY"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during auto-play"
# Auto-play has moved on from level 1: the status band names another level.
cells played
[ "$(field played level)" != "$(field dealt level)" ] || fail "auto-play did not clear level 1 in $PLAY s"
echo "memory after $PLAY s of auto-play: peak resident $(awk '/^VmHWM/ {print $2, $3}' "/proc/$GAME_PID/status")," \
    "now $(awk '/^VmRSS/ {print $2, $3}' "/proc/$GAME_PID/status")"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after the run"
key Escape
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
