#!/usr/bin/env bash
# A pair played by mouse in a real window: F2 starts an Easy game, F4 raises the hint marks on
# two tiles with the same picture, a click on each removes both (level 1 moves nothing else)
# and the score changes.
source "$(dirname "$0")/lib.sh" "$1"
ASSETS=$(readlink -f "$(dirname "$0")/../../assets")

# Reads one screenshot of the Easy board (16 x 10 cells on a 50 x 37 pitch, centred on the
# surface). Arguments: SHOT WINDOW_X WINDOW_Y WINDOW_W WINDOW_H PLATE. Prints the surface's
# first row ("top Y"), a checksum of the score text ("score SUM PIXELS") and one line per cell:
# "cell C R STATE MARK X Y FACE" with STATE tile (the plate's outline shows along the picture's
# empty first row and column), empty (black where the tile stood) or other; MARK raised (hint),
# pressed (selection) or none; X, Y the cell's centre on the screen; FACE a checksum of the
# middle of the tile, which no mark touches.
CELLS=$(cat <<'PERL'
my ($shotfile, $wx, $wy, $ww, $wh, $platefile) = @ARGV;
my $shot = load_ppm($shotfile);
my $plate = load_ppm($platefile);
my $top = surface_top($shot, $wx, $wy, $ww);
die "no black row below the menu bar\n" if $top < 0 || $top - $wy > 60;
my ($sw, $sh) = ($ww, $wh - ($top - $wy));
print "top $top\n";
# "Scores : " and the number start 20 pixels right of the 300-pixel time bar, centred on the
# screen's width, at the bar's top (10).
my $sx = $wx + int(($shot->{w} - 300) / 2) + 320;
my $score = join('', map { row_bytes($shot, $sx, $top + $_, $wx + $ww - $sx) } 8 .. 36);
my $lit = grep { $_ ne "\0\0\0" } unpack('(a3)*', $score);
print "score ", unpack('%32C*', $score), " $lit\n";
my ($cols, $rows, $cw, $ch) = (16, 10, 50, 37);
my $left = $wx + int(($sw - $cols * $cw) / 2);
my $btop = $top + int(($sh - $rows * $ch) / 2);
my $all = sub {    # every listed point has the colour
    my ($colour, $x, $y, @pts) = @_;
    for (@pts) { return 0 if rgb($shot, $x + $_->[0], $y + $_->[1]) ne $colour }
    return 1;
};
# The bevel of a mark, three pixels wide along l = 3, t = 3, r = 47 + 1, b = 34 + 1.
my @lt = ((map { [3, $_] } 6 .. 32), (map { [$_, 3] } 6 .. 44));
my @rb = ((map { [48, $_] } 6 .. 32), (map { [$_, 35] } 6 .. 44));
for my $c (0 .. $cols - 1) {
    for my $r (0 .. $rows - 1) {
        my ($x, $y) = ($left + $c * $cw, $btop + $r * $ch);
        my $state = 'other';
        my @outline = ((map { [$_, 0] } 4 .. 45), (map { [0, $_] } 4 .. 33));
        if (!grep { rgb($shot, $x + $_->[0], $y + $_->[1]) ne rgb($plate, @$_) } @outline) {
            $state = 'tile';
        } elsif (!grep { row_bytes($shot, $x + 8, $y + $_, 41) ne "\0" x 123 } 9 .. 35) {
            $state = 'empty';    # neighbours' plates reach 7 pixels into the cell, no further
        }
        my $mark = 'none';
        $mark = 'raised' if $all->('ffffff', $x, $y, @lt) && $all->('000000', $x, $y, @rb);
        $mark = 'pressed' if $all->('000000', $x, $y, @lt) && $all->('ffffff', $x, $y, @rb);
        my $face = join('', map { row_bytes($shot, $x + 6, $y + $_, 40) } 6 .. 32);
        printf "cell %d %d %s %s %d %d %s-%s\n", $c, $r, $state, $mark, $x + 25, $y + 18,
            unpack('%32C*', $face), unpack('%32n*', $face);
    }
}
PERL
)

# cells NAME: a screenshot and what it shows, in $SHOTS/NAME.txt; fails when it cannot be read.
cells() {
    local file
    file=$(shot "$1")
    pixels "$CELLS" "$file" "$X" "$Y" "$WIDTH" "$HEIGHT" "$ASSETS/backs/back1.bmp" >"$SHOTS/$1.txt"
}
count() { awk -v s="${2:-}" -v m="${3:-}" '$1 == "cell" && (s == "" || $4 == s) && (m == "" || $5 == m)' "$SHOTS/$1.txt" | wc -l; }

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

# --- F4: two raised marks, shown for about 600 ms; look several times, ask again if missed ---
found=""
for ask in $(seq 6); do
    key F4
    for look in 1 2 3; do
        shot "hint-$ask-$look" >/dev/null
    done
    for look in 1 2 3; do
        pixels "$CELLS" "$SHOTS/hint-$ask-$look.png" "$X" "$Y" "$WIDTH" "$HEIGHT" "$ASSETS/backs/back1.bmp" \
            >"$SHOTS/hint.txt" || fail "hint screenshot unreadable"
        if [ "$(count hint "" raised)" = 2 ]; then
            found=yes
            break 2
        fi
    done
done
[ -n "$found" ] || fail "F4 showed no two raised marks in $ask tries"
[ "$(count hint tile)" = 160 ] || fail "a hint changed the board"
mapfile -t marked < <(awk '$1 == "cell" && $5 == "raised" {print $2, $3, $6, $7, $8}' "$SHOTS/hint.txt")
read -r c1 r1 x1 y1 face1 <<<"${marked[0]}"
read -r c2 r2 x2 y2 face2 <<<"${marked[1]}"
echo "hint marks on cells $c1,$r1 and $c2,$r2"
[ "$face1" = "$face2" ] || fail "the hinted tiles $c1,$r1 and $c2,$r2 show different pictures"

# --- click both: the first is selected (pressed mark), the second removes the pair ---
click "$x1" "$y1"
for try in $(seq 30); do
    cells selected && awk -v c="$c1" -v r="$r1" '$1 == "cell" && $2 == c && $3 == r && $5 == "pressed" {ok = 1} END {exit !ok}' \
        "$SHOTS/selected.txt" && break
    [ "$try" = 30 ] && fail "clicking cell $c1,$r1 did not select it"
    sleep 0.2
done
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
wait_exit 10
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
