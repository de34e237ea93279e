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

# speech: what Orca sent to speech so far, one utterance a line, without the full stop it adds.
speech() { sed -n "s/^.*SPEECH OUTPUT: '\(.*\)' \{0,1\}{.*}$/\1/p" "$SPOKEN" 2>/dev/null | sed 's/\.$//'; }
# heard PATTERN: whether an utterance after the first $HEARD matches the extended regex PATTERN;
# moves HEARD past it and sets LINE to it.
HEARD=0 LINE=""
heard() {
    local n
    n=$(speech | awk -v from="$HEARD" -v p="$1" 'NR > from && $0 ~ p {print NR; exit}')
    SEEN="last heard: $(speech | tail -n 1)"
    [ -n "$n" ] || return 1
    LINE=$(speech | sed -n "${n}p")
    HEARD=$n
}
# hear WHAT PATTERN: waits for an utterance matching PATTERN after the last one heard.
hear() { wait_until 60 "Orca did not say $1" heard "$2"; }
# between FROM TO PATTERN: how many utterances after the FROMth and before the TOth match PATTERN.
between() { speech | awk -v a="$1" -v b="$2" -v p="$3" 'NR > a && NR < b && $0 ~ p {n++} END {print n + 0}'; }

# A cell's words: its picture, then its column and row; a move along a row or a column tells
# only the number it changed.
CELL="^[a-z][a-z' -]*,? [0-9]+(,? [0-9]+)?$"
# numbers: the numbers in LINE, space-separated.
numbers() { grep -o '[0-9]\+' <<<"$LINE" | tr '\n' ' '; echo; }
COL=0 ROW=0
# hear_cell C R [row]: waits for the next cell's words and checks that they name column C, row
# R; words with one number name the column, or the row after a move up or down ("row").
hear_cell() {
    hear "a cell's words" "$CELL"
    local a b
    read -r a b < <(numbers)
    if [ -n "$b" ]; then COL=$a ROW=$b
    elif [ "${3-}" = row ]; then ROW=$a
    else COL=$a; fi
    [ "$COL $ROW" = "$1 $2" ] || fail "Orca said \"$LINE\", not the words of column $1, row $2"
}
# walk_to C R: moves the cursor by arrows to column C, row R, hearing each cell on the way.
walk_to() {
    while [ "$COL" != "$1" ] || [ "$ROW" != "$2" ]; do
        if [ "$COL" -lt "$1" ]; then key Right; hear_cell $((COL + 1)) "$ROW"
        elif [ "$COL" -gt "$1" ]; then key Left; hear_cell $((COL - 1)) "$ROW"
        elif [ "$ROW" -lt "$2" ]; then key Down; hear_cell "$COL" $((ROW + 1)) row
        else key Up; hear_cell "$COL" $((ROW - 1)) row; fi
    done
}

wait_until 60 "Orca did not start" heard 'Screen reader on'

# --- the game, in English, with a deal of its own ---
(cd "$WORKDIR" && exec env SDL_AUDIODRIVER=dummy "$GAME" --language english --seed 33 \
    >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
GAME_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
[ -n "$WID" ] || fail "no game window appeared"
hear "the play surface's name" 'Game board'

# --- F2 deals; the cursor's first key shows it on the top-left cell ---
key F2
hear "the new level" '^notification .*160'
key Right
hear_cell 1 1

# --- one F4 is one hint ---
key F4
hear "a hint" '^notification hint'
hint=$HEARD
key Right
hear_cell 2 1
[ "$(between "$hint" "$HEARD" 'hint')" = 0 ] || fail "one F4 gave more than one hint"

# --- one F3 pauses: the cursor's key says nothing until the next F3 resumes ---
moved=$HEARD
key F3
key Right
key F3
key Right
# --- one F5 is one shuffle ---
key F5
hear "the shuffle" '^notification .*shuffled'
shuffled=$HEARD
cells=$(speech | awk -v a="$moved" -v b="$shuffled" -v p="$CELL" 'NR > a && NR < b && $0 ~ p' | tr '\n' '/')
[ "$cells" = "$(speech | awk -v a="$moved" -v b="$shuffled" -v p="$CELL" 'NR > a && NR < b && $0 ~ p' | head -n1)/" ] &&
    [ -n "$cells" ] || fail "F3, Right, F3, Right told the cells \"$cells\", not one cell"
HEARD=$moved
hear_cell 3 1
HEARD=$shuffled

key F4
hear "a hint after the shuffle" '^notification hint'
[ "$(between "$shuffled" "$HEARD" 'shuffled')" = 0 ] || fail "one F5 shuffled more than once"
read -r c1 r1 c2 r2 < <(numbers)
picture=$(sed -E 's/^notification hint: ([^0-9,]*[^0-9, ]),? [0-9].*/\1/' <<<"$LINE")
echo "hint: $picture at $c1,$r1 and $c2,$r2"

# --- the hinted pair by keys: its first tile selected, the second removes both ---
walk_to "$c1" "$r1"
key space
hear "the selection" "^notification .*$picture.*selected"
walk_to "$c2" "$r2"
key space
hear "the removal" "^notification .*removed"
grep -q "$picture" <<<"$LINE" || fail "the removal words \"$LINE\" do not name the pair's $picture"
grep -q '158' <<<"$LINE" || fail "the removal words \"$LINE\" do not tell the 158 tiles left"

# --- F10 opens the menu bar's first menu; Esc closes it, Esc again leaves the bar and the game
# plays on ---
key F10
hear "the opened menu" '^Game( menu)?$'
key Escape
key Escape
key Left
hear_cell $((COL - 1)) "$ROW"

key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
# Coming back from the menu bar, the cursor's cell alone is read, not the one it left too.
[ "$(between "$HEARD" 1000000 "$CELL")" = 0 ] || fail "more cells read after column $COL, row $ROW: $(speech | tail -n 3 | tr '\n' '/')"
echo "PASS: $(speech | wc -l) utterances heard"
