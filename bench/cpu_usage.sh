#!/usr/bin/env bash
# CPU use of the running game on a private Xvfb screen of 1024 x 768: SECONDS on the waving title
# screen, then SECONDS of play after F2 with nobody clicking (auto-play stays off). Each figure
# is the process's user + system time from /proc/<pid>/stat over the wall time, in percent of
# one core. Also prints the time from the start to the window being mapped and to the first
# title frame, and the peak resident memory (VmHWM).
#
#   bench/cpu_usage.sh [GAME] [SECONDS]
#
# GAME defaults to the release build of ./play (build/release/pelmoravan), SECONDS to 20.
# Sound goes to SDL's dummy driver unless SDL_AUDIODRIVER says otherwise; the music is on, as
# at every start, so its synthesis is part of the figure. Other load on the machine inflates
# nothing here (CPU time is the game's own), but it is printed so that a reader can judge.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
GAME_ARG=$(readlink -f "${1:-$HERE/../build/release/pelmoravan}")
PHASE=${2:-20}
[ -x "$GAME_ARG" ] || { echo "no game binary at $GAME_ARG (build it with ./play or pass a path)" >&2; exit 1; }

# The window-test helpers, with their screenshots in a folder of our own.
RUNDIR=$(mktemp -d)
cd "$RUNDIR"
source "$HERE/../tests/window/lib.sh" "$GAME_ARG"
trap 'cleanup; rm -rf "$RUNDIR"' EXIT

TCK=$(getconf CLK_TCK)
# gone: the game ended before its time; say how.
gone() {
    wait_exit 1
    echo "the game ended early (exit code $EXIT_CODE); its standard error:" >&2
    cat "$SHOTS/stderr.txt" >&2
    exit 1
}
now_ns() { date +%s%N; }
# cpu_ticks: sets TICKS to the game's CPU time so far (user + system, in 1/TCK s), read from
# the fields after the command name's ')'; fails when the game is gone.
TICKS=0
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$GAME_PID/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    # shellcheck disable=SC2086
    set -- $stat
    [ "$1" != Z ] || return 1
    TICKS=$((${12} + ${13}))
}
# measure NAME: CPU use over PHASE seconds of wall time.
measure() {
    local t0 c0 t1
    t0=$(now_ns)
    cpu_ticks || gone
    c0=$TICKS
    sleep "$PHASE"
    t1=$(now_ns)
    cpu_ticks || gone
    awk -v n="$1" -v c=$((TICKS - c0)) -v tck="$TCK" -v ns=$((t1 - t0)) \
        'BEGIN { printf "%-14s %6.2f %% of one core (%d ticks of 1/%d s in %.1f s)\n", n, 100 * c / tck / (ns / 1e9), c, tck, ns / 1e9 }'
}

echo "game:  $GAME_ARG"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) on $(nproc) cores before the run"
start_xvfb 1024x768

# --- start-up: from exec to the mapped window, then to the first frame of the logo ---
start=$(now_ns)
(cd "$WORKDIR" && exec env SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$GAME" >/dev/null 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
for _ in $(seq 1500); do
    WID=$(xdotool search --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
    [ -n "$WID" ] && break
    sleep 0.02
done
[ -n "$WID" ] || fail "no game window within 30 s"
mapped=$(now_ns)
# The middle of the logo is night blue; before the first frame the spot is grey, black or the
# bare root window's weave. Each look costs some 25 ms.
framed=""
for _ in $(seq 600); do
    spot=$(import -display "$DISPLAY" -window root -crop 1x1+432+318 -depth 8 txt:- 2>/dev/null |
        grep -o '([0-9, ]*' | tr -d '( ') || true
    IFS=, read -r r _ b <<<"${spot:-0,0,0}"
    if [ "$b" -gt 60 ] && [ "$b" -gt $((r + 30)) ]; then
        framed=$(now_ns)
        break
    fi
done
[ -n "$framed" ] || fail "no logo on the screen within 30 s"
awk -v m=$((mapped - start)) -v f=$((framed - start)) \
    'BEGIN { printf "start-up: window mapped after %.0f ms, first logo frame seen after %.0f ms (looks every ~25 ms)\n", m / 1e6, f / 1e6 }'

sleep 2
measure "title screen"

key F2
sleep 2
# The first tile plate stands where the Easy board begins, centred below the menu bar.
board=$(shot board)
pixels 'my ($f, $w, $h) = @ARGV; my $s = load_ppm($f); my $top = surface_top($s, 0, 0, $w);
        my ($x, $y) = (int(($w - 800) / 2), $top + int(($h - $top - 370) / 2));
        exit(rgb($s, $x + 20, $y) eq rgb(load_ppm($ARGV[3]), 20, 0) ? 0 : 1);' \
    "$board" 1024 768 "$HERE/../assets/backs/back1.bmp" || { kill -0 "$GAME_PID" 2>/dev/null || gone; fail "F2 did not start a game"; }
measure "playing"

echo "memory: peak resident $(awk '/^VmHWM/ {print $2, $3}' "/proc/$GAME_PID/status"), now $(awk '/^VmRSS/ {print $2, $3}' "/proc/$GAME_PID/status")"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after the run"
key Escape
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
