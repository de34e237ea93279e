# SPDX-License-Identifier: MIT
# Shared by the bench scripts, sourced after tests/window/lib.sh: the way the sound goes, the
# game started under the X probe, and what the probe saw.
#
# BENCH_SOUND picks the sound's way for every start:
#   dummy  SDL's dummy driver (the default): the mixer and the synthesizer run, nothing is heard
#   pulse  a private PulseAudio server (Debian's pulseaudio) with a null sink, in a private
#          XDG_RUNTIME_DIR; its monitor is recorded with parec, so that a script can prove the
#          music was heard
#   none   no sound device at all
BENCH_SOUND=${BENCH_SOUND:-dummy}
BENCH_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PROBE=${PROBE:-$BENCH_DIR/../build/release/bench/first_frame_probe}
BARE=${BARE:-$BENCH_DIR/../build/release/bench/bare_qt_window}
PA_DIR=""
PAREC_PID=""
MONITOR=""

# bench_tools: builds the probe and the bare window when missing (release build, bench on).
bench_tools() {
    if [ ! -x "$PROBE" ] || [ ! -x "$BARE" ]; then
        cmake -S "$BENCH_DIR/.." -B "$BENCH_DIR/../build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DPELMORAVAN_BENCH=ON >/dev/null
        cmake --build "$BENCH_DIR/../build/release" --target first_frame_probe bare_qt_window >/dev/null
    fi
}

# start_sound: the PulseAudio server and the recording of its monitor, when BENCH_SOUND=pulse.
start_sound() {
    [ "$BENCH_SOUND" = pulse ] || return 0
    command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
        fail "BENCH_SOUND=pulse needs the pulseaudio and pulseaudio-utils packages"
    PA_DIR=$(mktemp -d)
    MONITOR="$PA_DIR/monitor.raw"
    # HOME too, so that the server's cookie and state stay in the private folder.
    (export XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR"
     exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L module-native-protocol-unix -L "module-null-sink sink_name=bench rate=44100" \
        >"$PA_DIR/server.log" 2>&1) &
    for _ in $(seq 100); do
        XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR" pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR" pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"
    (export XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR"
     exec parec -d bench.monitor --raw --format=s16le --rate=22050 --channels=2 >"$MONITOR") &
    PAREC_PID=$!
}

stop_sound() {
    [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null || true
    PAREC_PID=""
    if [ -n "$PA_DIR" ]; then
        XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR" pactl exit 2>/dev/null || true
        sleep 0.2
        rm -rf "$PA_DIR"
        PA_DIR=""
    fi
}

# monitor_bytes: how much of the monitor has been recorded so far.
monitor_bytes() { [ -n "$MONITOR" ] && stat -c %s "$MONITOR" 2>/dev/null || echo 0; }

# monitor_rms FROM TO: the loudness (root mean square of the 16-bit samples) of the monitor's
# recording between two of its byte offsets.
monitor_rms() {
    python3 - "$MONITOR" "$1" "$2" <<'PY'
import array, math, sys
path, start, end = sys.argv[1], int(sys.argv[2]) // 4 * 4, int(sys.argv[3]) // 4 * 4
with open(path, "rb") as f:
    f.seek(start)
    a = array.array("h", f.read(max(0, end - start)))
print("%.0f" % (math.sqrt(sum(x * x for x in a) / len(a)) if a else 0))
PY
}

# The game's environment for the chosen way.
sound_env() {
    case "$BENCH_SOUND" in
    dummy) echo "SDL_AUDIODRIVER=dummy" ;;
    none) echo "SDL_AUDIODRIVER=none" ;;
    pulse) echo "SDL_AUDIODRIVER=pulseaudio XDG_RUNTIME_DIR=$PA_DIR HOME=$PA_DIR PULSE_SERVER=unix:$PA_DIR/pulse/native" ;;
    *) fail "BENCH_SOUND must be dummy, pulse or none" ;;
    esac
}

# probe_start PROGRAM X Y: starts PROGRAM in a fresh working directory under the probe, which
# watches spot X,Y for the logo (X = -1: the map only), and waits until it has seen it. Sets
# MAPPED_MS, FRAME_MS, GAME_PID (the program) and PROBE_PID.
probe_start() {
    local program=$1 x=$2 y=$3
    rm -rf "$WORKDIR"
    WORKDIR=$(mktemp -d)
    PROBE_OUT="$WORKDIR.probe"
    # shellcheck disable=SC2046
    (cd "$WORKDIR" && exec env $(sound_env) "$PROBE" "$x" "$y" -- "$program" >"$PROBE_OUT" 2>"$WORKDIR.err") &
    PROBE_PID=$!
    for _ in $(seq 3000); do
        grep -q '^mapped_ms' "$PROBE_OUT" 2>/dev/null && break
        kill -0 "$PROBE_PID" 2>/dev/null || { cat "$WORKDIR.err" >&2; fail "$program ended before its frame"; }
        sleep 0.01
    done
    eval "$(sed -n 's/^mapped_ms=\([0-9.]*\) frame_ms=\([0-9.]*\) pid=\([0-9]*\)$/MAPPED_MS=\1 FRAME_MS=\2 GAME_PID=\3/p' "$PROBE_OUT")"
    [ -n "${GAME_PID:-}" ] || fail "the probe saw no frame of $program"
    WID=$(xdotool search --pid "$GAME_PID" --onlyvisible 2>/dev/null | head -n1) || true
}

# probe_exit KEYSYM: presses the key and waits for the program to end. Sets EXIT_MS (from the
# key press to the process gone) and EXIT_CODE.
probe_exit() {
    local pressed
    # Focused first: without a window manager xdotool's activation takes its time failing.
    xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID" || true
    pressed=$(date +%s%N)
    xdotool key --clearmodifiers "$1"
    for _ in $(seq 1000); do
        grep -q '^exited_ns' "$PROBE_OUT" && break
        sleep 0.01
    done
    eval "$(sed -n 's/^exited_ns=\([0-9]*\) code=\([0-9]*\)$/EXITED_NS=\1 EXIT_CODE=\2/p' "$PROBE_OUT")"
    [ -n "${EXITED_NS:-}" ] || fail "still running 10 s after $1"
    wait "$PROBE_PID" 2>/dev/null || true
    EXIT_MS=$(((EXITED_NS - pressed) / 1000000))
    GAME_PID=""
    unset EXITED_NS
}

# cpu_ticks: the program's CPU time so far (user + system, in 1/CLK_TCK s) into TICKS.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$GAME_PID/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    # shellcheck disable=SC2086
    set -- $stat
    [ "$1" != Z ] || return 1
    TICKS=$((${12} + ${13}))
}

# cpu_over SECONDS: the program's CPU use over that much wall time, in percent of one core,
# into CPU_PERCENT.
cpu_over() {
    local t0 c0 t1
    t0=$(date +%s%N)
    cpu_ticks || fail "the game ended early"
    c0=$TICKS
    sleep "$1"
    t1=$(date +%s%N)
    cpu_ticks || fail "the game ended early"
    CPU_PERCENT=$(awk -v c=$((TICKS - c0)) -v tck="$(getconf CLK_TCK)" -v ns=$((t1 - t0)) \
        'BEGIN { printf "%.2f", 100 * c / tck / (ns / 1e9) }')
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
maximum() { sort -n | tail -n1; }
