#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up time, exit time and peak memory of one game or several, compared in one run on a
# private Xvfb screen of 1024 x 768.
#
#   [BENCH_SOUND=dummy|pulse|none] bench/startup_memory.sh [GAME...] [-- STARTS [PLAY_SECONDS]]
#
# Start-up: two warm-up starts, then STARTS (default 15) starts of every GAME and of a bare Qt
# window (bench/x11/bare_qt_window.cpp), taken in turn, each in a fresh working directory. The
# probe (bench/x11/first_frame_probe.c) forks and execs the program and times, from the exec, the
# map of its window and the first frame with the logo's middle night blue, polling that one
# pixel through XGetImage. One second after the frame, Esc; the exit time runs from the key press
# to the process gone (its exit code must be 0). Prints the medians and the slowest exit.
# Memory: for every GAME, F2, auto-play on from the menu, PLAY_SECONDS (default 60) of auto-play
# with the music on; then the peak resident set (VmHWM) and where the resident pages lie
# (bench/smaps_breakdown.py). Through PulseAudio, the music's loudness on the server's monitor
# over that minute proves it was heard.
#
# GAME defaults to the release build of ./play (build/release/pelmoravan).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
GAMES=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do GAMES+=("$(readlink -f "$1")"); shift; done
[ "${1:-}" = -- ] && shift
STARTS=${1:-15}
PLAY=${2:-60}
[ ${#GAMES[@]} -gt 0 ] || GAMES=("$(readlink -f "$HERE/../build/release/pelmoravan")")
for g in "${GAMES[@]}"; do
    [ -x "$g" ] || { echo "no game binary at $g (build it with ./play or pass a path)" >&2; exit 1; }
done

RUNDIR=$(mktemp -d)
cd "$RUNDIR"
source "$HERE/../tests/window/lib.sh" "${GAMES[0]}"
source "$HERE/lib.sh"
trap 'stop_sound; cleanup; rm -rf "$RUNDIR"' EXIT
bench_tools

echo "sound: $BENCH_SOUND"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) on $(nproc) cores before the run"
start_xvfb 1024x768
start_sound

# --- start-up and exit ---
names=(bare)
programs=("$BARE")
for i in "${!GAMES[@]}"; do names+=("game$((i + 1))"); programs+=("${GAMES[$i]}"); done
for run in $(seq -1 "$STARTS"); do
    for i in "${!programs[@]}"; do
        if [ "${names[$i]}" = bare ]; then probe_start "${programs[$i]}" -1 0; else probe_start "${programs[$i]}" 432 318; fi
        sleep 1
        probe_exit Escape
        [ "$EXIT_CODE" = 0 ] || fail "${names[$i]}: Esc gave exit code $EXIT_CODE"
        [ "$run" -ge 1 ] || continue
        echo "$MAPPED_MS" >>"$RUNDIR/${names[$i]}.mapped"
        echo "$FRAME_MS" >>"$RUNDIR/${names[$i]}.frame"
        echo "$EXIT_MS" >>"$RUNDIR/${names[$i]}.exit"
    done
done
echo "start-up, median of $STARTS starts each (ms from exec):"
echo "  bare Qt window: mapped $(median <"$RUNDIR/bare.mapped")"
for i in "${!GAMES[@]}"; do
    n=game$((i + 1))
    echo "  ${GAMES[$i]}: mapped $(median <"$RUNDIR/$n.mapped"), first title frame $(median <"$RUNDIR/$n.frame")," \
        "after Esc gone in $(median <"$RUNDIR/$n.exit") (slowest $(maximum <"$RUNDIR/$n.exit"))"
done

# --- memory after a minute of auto-play ---
for game in "${GAMES[@]}"; do
    probe_start "$game" 432 318
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    read_menu_bar
    key F2
    sleep 1
    cells dealt
    choose 2 2
    heard0=$(monitor_bytes)
    sleep "$PLAY"
    heard1=$(monitor_bytes)
    cells played
    [ "$(field played level)" != "$(field dealt level)" ] || fail "auto-play did not clear level 1 in $PLAY s"
    echo "memory of $game after $PLAY s of auto-play: peak resident" \
        "$(awk '/^VmHWM/ {print $2, $3}' "/proc/$GAME_PID/status"), now $(awk '/^VmRSS/ {print $2, $3}' "/proc/$GAME_PID/status")"
    python3 "$HERE/smaps_breakdown.py" "$GAME_PID" | sed 's/^/  /'
    [ "$BENCH_SOUND" != pulse ] || echo "  loudness on the sound server's monitor meanwhile: $(monitor_rms "$heard0" "$heard1") RMS"
    probe_exit Escape
    [ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
done
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after the run"
