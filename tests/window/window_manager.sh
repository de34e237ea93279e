#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Under a real window manager (openbox) on a 1280 x 800 screen the whole window, frame included,
# covers the work area: the frame that the manager adds after the window is mapped is taken off
# the client area. The window keeps one size and offers no maximising.
source "$(dirname "$0")/lib.sh" "$1"

start_xvfb 1280x800
# The manager's own files go to a folder of the test's, not to the home folder.
WM_HOME=$(mktemp -d)
trap 'cleanup; rm -rf "$WM_HOME"' EXIT
XDG_CONFIG_HOME="$WM_HOME" XDG_CACHE_HOME="$WM_HOME" openbox --sm-disable >"$SHOTS/openbox.txt" 2>&1 &
WM_PID=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 30 "openbox did not start" managed
start_game

# framed: whether the frame is known and its outer edges, "left top right bottom" on the screen,
# are those of the work area.
framed() {
    local x y w h l r t b
    geometry
    x=$X y=$Y w=$WIDTH h=$HEIGHT
    read -r l r t b < <(xprop -id "$WID" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    [ -n "${t:-}" ] || { SEEN="no frame extents"; return 1; }
    SEEN="frame $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b)), title bar $t pixels"
    [ "$t" -gt 0 ] && [ "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))" = "0 0 1280 800" ]
}
wait_until 30 "the framed window does not cover the 1280 x 800 work area" framed
echo "$SEEN"

hints=$(xprop -id "$WID" WM_NORMAL_HINTS _NET_WM_ALLOWED_ACTIONS)
min=$(sed -n 's/.*minimum size: //p' <<<"$hints")
max=$(sed -n 's/.*maximum size: //p' <<<"$hints")
[ -n "$min" ] && [ "$min" = "$max" ] || fail "the window may be resized: minimum $min, maximum $max"
grep -q MAXIMIZE <<<"$hints" && fail "the window manager offers to maximise the window"
# Still the game: its surface is drawn below the menu bar, inside the frame.
drawn || fail "the framed window shows no play surface"

key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
