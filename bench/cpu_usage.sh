#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CPU use of one game or several, compared in one run on a private Xvfb screen of 1024 x 768.
# Each figure is the process's user + system time from /proc/<pid>/stat over the wall time, in
# percent of one core; other load on the machine inflates nothing (the time is the game's own),
# but it is printed so that a reader can judge.
#
#   [BENCH_SOUND=dummy|pulse] [BENCH_PHASES="title play nosound"] bench/cpu_usage.sh [GAME...] [-- SECONDS]
#
# For every GAME:
#  - each built-in track in turn, "SOUND1" to "SOUND4", on the waving title for SECONDS (default
#    15). The game picks its track at random and writes it to back.MID in its working directory,
#    so the script starts it again until that file is the wanted track;
#  - SECONDS of play after F2 with nobody clicking (auto-play off), music on;
#  - the same with no sound device at all (SDL_AUDIODRIVER=none).
# Through PulseAudio (BENCH_SOUND=pulse) the loudness recorded on the server's monitor during
# each music phase proves that the music was heard.
#
# BENCH_PHASES picks some of the three kinds of phase above (default all).
# GAME defaults to the release build of ./play (build/release/pelmoravan).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
GAMES=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do GAMES+=("$(readlink -f "$1")"); shift; done
[ "${1:-}" = -- ] && shift
PHASE=${1:-15}
PHASES=" ${BENCH_PHASES:-title play nosound} "
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

# measure NAME: CPU over PHASE, with the monitor's loudness meanwhile when it is recorded.
measure() {
    local b0 b1 heard=""
    b0=$(monitor_bytes)
    cpu_over "$PHASE"
    b1=$(monitor_bytes)
    [ "$BENCH_SOUND" != pulse ] || heard=", heard at $(monitor_rms "$b0" "$b1") RMS"
    printf '  %-22s %6s %% of one core%s\n' "$1" "$CPU_PERCENT" "$heard"
}

# quit: Esc, and the process must be gone with exit code 0.
quit() {
    probe_exit Escape
    [ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"
    echo "$EXIT_MS" >>"$RUNDIR/exit.ms"
}

echo "sound: $BENCH_SOUND"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) on $(nproc) cores before the run"
start_xvfb 1024x768
start_sound

for game in "${GAMES[@]}"; do
    echo "$game:"
    : >"$RUNDIR/exit.ms"
    for n in 1 2 3 4; do
        [[ $PHASES == *" title "* ]] || break
        for try in $(seq 40); do
            probe_start "$game" 432 318
            cmp -s "$WORKDIR/back.MID" "$HERE/../assets/music/SOUND$n.mid" && break
            quit
            [ "$try" = 40 ] || continue
            fail "SOUND$n was not picked in 40 starts"
        done
        sleep 2
        measure "title, SOUND$n"
        quit
    done

    if [[ $PHASES == *" play "* ]]; then
        probe_start "$game" 432 318
        sleep 1
        key F2
        sleep 2
        measure "playing, music on"
        quit
    fi

    if [[ $PHASES == *" nosound "* ]]; then
        sound=$BENCH_SOUND
        BENCH_SOUND=none
        probe_start "$game" 432 318
        sleep 1
        key F2
        sleep 2
        measure "playing, no sound device"
        quit
        BENCH_SOUND=$sound
    fi
    echo "  after Esc, the process gone in $(median <"$RUNDIR/exit.ms") ms (median), slowest $(maximum <"$RUNDIR/exit.ms") ms"
done
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after the run"
