#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Heard through Orca: the game under a real screen reader (Debian's Orca, speech-dispatcher with
# its silent output, a private D-Bus session and accessibility bus), played by keys alone. Every
# check is on what Orca sent to speech, as its debug log records it: the cursor's cells as it
# moves, the new level, a hint, a shuffle and a removed pair, each heard in order and each once
# (one F4 is one hint, one F3 pauses).
source "$(dirname "$0")/lib.sh" "$1"

# Everything the reader, the speech server and the buses write goes to the test's folder.
READER=$(mktemp -d)
chmod 700 "$READER"
export HOME="$READER/home" XDG_CONFIG_HOME="$READER/config" XDG_DATA_HOME="$READER/data"
export XDG_CACHE_HOME="$READER/cache" XDG_RUNTIME_DIR="$READER/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
BUS_PID="" SPEECH_PID="" ORCA_PID=""
SPOKEN="$SHOTS/orca-debug.txt"
stop_reader() {
    [ -n "$ORCA_PID" ] && kill "$ORCA_PID" 2>/dev/null || true
    [ -n "$SPEECH_PID" ] && kill "$SPEECH_PID" 2>/dev/null || true
    # The accessibility bus's launcher and its own bus end with the session bus.
    [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null || true
    cleanup
    rm -rf "$READER"
}
trap stop_reader EXIT

start_xvfb 1024x768
openbox --sm-disable >"$SHOTS/openbox.txt" 2>&1 &
WM_PID=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 30 "openbox did not start" managed

# --- a private session bus; the accessibility bus is started on it when first asked for ---
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" >"$SHOTS/dbus.txt" 2>&1 &
BUS_PID=$!
bus_up() { [ -S "$XDG_RUNTIME_DIR/bus" ]; }
wait_until 30 "the session bus did not start" bus_up

# --- speech-dispatcher with its dummy voice played to libao's null device: nothing is heard,
# everything is accepted ---
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "libao"
CONF
echo "default_driver=null" >"$HOME/.libao"
speech-dispatcher --run-single --timeout 0 --config-dir "$XDG_CONFIG_HOME/speech-dispatcher" \
    >"$SHOTS/speechd.txt" 2>&1 &
SPEECH_PID=$!
speech_up() { [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ]; }
wait_until 30 "speech-dispatcher did not start" speech_up

# --- Orca, its settings in the test's folder, its debug log written line by line ---
# Started as Orca's own launcher starts it, less the search for other copies of Orca run by this
# user on the machine: those are not this session's.
/usr/bin/python3 - "$SPOKEN" "$XDG_DATA_HOME/orca" >"$SHOTS/orca.txt" 2>&1 <<'PY' &
import sys
from orca import debug
debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], "w", buffering=1, encoding="utf-8")
from orca import orca
manager = orca.getSettingsManager()
manager.activate(sys.argv[2], {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
PY
ORCA_PID=$!

# speech: what Orca sent to speech so far, one utterance a line.
speech() { sed -n "s/^.*SPEECH OUTPUT: '\(.*\)'.*$/\1/p" "$SPOKEN" 2>/dev/null; }
# heard PATTERN: whether an utterance after the first $HEARD matches the extended regex PATTERN;
# sets HEARD past it and LINE to it.
HEARD=0 LINE=""
heard() {
    local n
    n=$(speech | awk -v from="$HEARD" -v p="$1" 'NR > from && $0 ~ p {print NR; exit}')
    SEEN="last heard: $(speech | tail -n 1)"
    [ -n "$n" ] || return 1
    LINE=$(speech | sed -n "${n}p")
    HEARD=$n
}
wait_until 60 "Orca did not start" heard 'Screen reader on'

# --- the game, in English, with a deal of its own ---
(cd "$WORKDIR" && exec env SDL_AUDIODRIVER=dummy "$GAME" --language english --seed 33 \
    >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
[ -n "$WID" ] || fail "no game window appeared"
wait_until 60 "Orca did not tell the game's board" heard 'Game board'
key F2
sleep 3
key Right
sleep 2
key Right
sleep 2
key Down
sleep 2
key Down
sleep 2
key F4
sleep 2
echo "heard so far:"; speech
