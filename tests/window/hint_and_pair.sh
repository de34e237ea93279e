#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A pair played by mouse in a real window: F2 starts an Easy game, the top-left tile is selected
# in place and taken back, F4 raises the hint marks on two tiles with the same picture, a click
# on each removes both (level 1 moves nothing else) and the score changes.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768
start_game
eval "$(xdotool getwindowgeometry --shell "$WID")"

# --- a new game: all 160 tiles on their plates ---
key F2
for try in $(seq 30); do
    cells board && [ "$(count board tile)" = 160 ] && break
    [ "$try" = 30 ] && fail "F2 dealt no board of 160 tiles ($(count board tile) found)"
    sleep 0.2
done
score_before=$(awk '$1 == "score" {print $2, $3}' "$SHOTS/board.txt")

# --- the top-left tile: before the first click both selection slots name its cell, and the
# click selects it in place; the mark is drawn on the tile, and the surface's own top-left corner,
# left of the status texts, stays as it was ---
corner() {
    pixels 'my ($f, $x, $t) = @ARGV; my $img = load_ppm($f);
            print unpack("H*", join("", map { row_bytes($img, $x, $t + $_, 10) } 0 .. 44)), "\n"' \
        "$SHOTS/$1.png" "$X" "$(field "$1" top)"
}
read -r x0 y0 < <(awk '$1 == "cell" && $2 == 0 && $3 == 0 {print $6, $7}' "$SHOTS/board.txt")
select_tile 0 0 "$x0" "$y0"
[ "$(corner selected)" = "$(corner board)" ] || fail "selecting the top-left tile drew on the surface's top-left corner"
# The right button takes the selection back.
click "$x0" "$y0" 3
wait_until 40 "the right button left the top-left tile selected" marked 0 0 none

# --- F4: two raised marks on two tiles with the same picture ---
show_hint
[ "$(count hint tile)" = 160 ] || fail "a hint changed the board"
mapfile -t hinted < <(awk '$1 == "cell" && $5 == "raised" {print $2, $3, $6, $7, $8}' "$SHOTS/hint.txt")
read -r c1 r1 x1 y1 face1 <<<"${hinted[0]}"
read -r c2 r2 x2 y2 face2 <<<"${hinted[1]}"
echo "hint marks on cells $c1,$r1 and $c2,$r2"
[ "$face1" = "$face2" ] || fail "the hinted tiles $c1,$r1 and $c2,$r2 show different pictures"

# --- click both: the first is selected (pressed mark), the second removes the pair ---
select_tile "$c1" "$r1" "$x1" "$y1"
click "$x2" "$y2"
for try in $(seq 30); do
    if cells removed && [ "$(count removed empty)" = 2 ] && [ "$(count removed tile)" = 158 ]; then
        break
    fi
    [ "$try" = 30 ] && fail "the pair was not removed: $(count removed empty) empty cells, $(count removed tile) tiles"
    sleep 0.2
done
# Both removed cells are the hinted ones; every other tile shows the picture it showed before.
awk '$1 == "cell" && $4 == "empty" {print $2, $3}' "$SHOTS/removed.txt" | sort >"$SHOTS/gone.txt"
printf '%s %s\n%s %s\n' "$c1" "$r1" "$c2" "$r2" | sort | cmp -s - "$SHOTS/gone.txt" ||
    fail "removed cells $(tr '\n' ' ' <"$SHOTS/gone.txt") are not the hinted ones"
diff <(awk '$1 == "cell" && $4 == "tile" {print $2, $3, $8}' "$SHOTS/removed.txt") \
    <(awk -v a="$c1 $r1" -v b="$c2 $r2" '$1 == "cell" && ($2 " " $3) != a && ($2 " " $3) != b {print $2, $3, $8}' \
        "$SHOTS/board.txt") >/dev/null || fail "tiles other than the pair changed"

score_after=$(awk '$1 == "score" {print $2, $3}' "$SHOTS/removed.txt")
echo "score text checksum $score_before -> $score_after"
[ "$score_before" != "$score_after" ] || fail "the score text did not change"

key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
