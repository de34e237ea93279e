#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts that cannot go on end with one line on stderr and their exit code, never with an abort:
# an empty argument or option value (2, no display needed), a display number with no X server behind it and a
# platform Qt does not have (1), and any start-up error on the offscreen or minimal platform (1).
set -euo pipefail
GAME=$(readlink -f "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
ulimit -c 0
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(readlink -f "$(dirname "$0")/../lsan.supp"):print_suppressions=0}"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# refused CODE LINE ARG...: the game started with ARG... (after env's own settings) ends with
# exit code CODE and LINE alone on stderr.
refused() {
    local want=$1 line=$2 code=0
    shift 2
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$WORK/out.txt" 2>"$WORK/err.txt" </dev/null || code=$?
    [ "$code" = "$want" ] || fail "$* gave exit code $code, not $want: $(cat "$WORK/err.txt")"
    [ "$(cat "$WORK/err.txt")" = "$line" ] || fail "$* wrote on stderr: $(cat "$WORK/err.txt")"
}

refused 2 "pelmoravan: unexpected argument ''; try --help" -u DISPLAY "$GAME" ""
refused 2 "pelmoravan: option '-platform' needs a value; try --help" "$GAME" -platform ""

# A display number with neither a socket file, a lock file nor an abstract socket.
n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; do
    n=$((n + 1))
done
refused 1 "pelmoravan: cannot open the display \":$n\" (Qt platform xcb)" DISPLAY=":$n" "$GAME"
refused 1 "pelmoravan: cannot open the display \":$n\" (Qt platform xcb)" DISPLAY=":$n" "$GAME" -display ":$n"
refused 1 "pelmoravan: cannot open the display: Qt has no platform \"bogus\"" -u DISPLAY "$GAME" -platform bogus

# On a platform without a screen a start-up error is its line alone: no box waits for nobody.
mkdir -p "$WORK/data/Pelmoravan.sco"
unusable="pelmoravan: Cannot open file \"$WORK/data/Pelmoravan.sco\". Is a directory"
refused 1 "$unusable" -u DISPLAY timeout 60 "$GAME" -platform offscreen --data-dir "$WORK/data"
refused 1 "$unusable" -u DISPLAY QT_QPA_PLATFORM=minimal timeout 60 "$GAME" --data-dir "$WORK/data"
echo "PASS"
