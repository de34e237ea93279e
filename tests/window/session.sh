#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A player's whole session in a real window, from a fresh working directory: the waving title,
# F2 deals the Easy board, F4 hints a pair and two clicks remove it, auto-play switched on from
# the menu clears level 1 and the next level's name appears, F3 covers the tiles and uncovers
# them, End Game returns to the title, Sequence shows the list, About shows its texts, Esc ends
# the program with exit code 0. Leaves title.png and play.png among its screenshots.
source "$(dirname "$0")/lib.sh" "$1"

# The title screen: the 400 x 300 logo drawn at 600 x 450, waving by up to 4 pixels, on black.
# Arguments: SHOT WINDOW_X WINDOW_Y WINDOW_W WINDOW_H. Prints a checksum of the logo's
# rectangle; fails when the logo is missing or anything else is drawn.
TITLE=$(cat <<'PERL'
my ($file, $wx, $wy, $ww, $wh) = @ARGV;
my $shot = load_ppm($file);
my $top = surface_top($shot, $wx, $wy, $ww);
die "no black row below the menu bar\n" if $top < 0 || $top - $wy > 60;
my ($sw, $sh) = ($ww, $wh - ($top - $wy));
my ($w, $h) = (400, 300);
my $x0 = $wx + int(($sw - $w) / 2) - int($w / 2) + 20;
my $y0 = $top + int(($sh - $h) / 2) - int($h / 2);
my ($dw, $dh) = ($w + int($w / 2), $h + int($h / 2));
my ($lit, $logo) = (0, '');
for my $y ($y0 .. $y0 + $dh - 1) {
    my $row = row_bytes($shot, $x0 + 4, $y, $dw - 8);
    $logo .= $row;
    $lit += grep { $_ ne "\0\0\0" } unpack('(a3)*', $row);
}
die "the logo covers only $lit pixels\n" if $lit < 0.9 * ($dw - 8) * $dh;
my $black = sub { my ($x, $y, $n) = @_; row_bytes($shot, $x, $y, $n) eq "\0" x (3 * $n) };
for my $y ($top .. $top + $sh - 1) {
    my $inside = $y >= $y0 && $y < $y0 + $dh;
    my $ok = $inside ? $black->($wx, $y, $x0 - 4 - $wx) && $black->($x0 + $dw + 4, $y, $wx + $ww - $x0 - $dw - 4)
                     : $black->($wx, $y, $ww);
    die "row $y has more than the logo on it\n" unless $ok;
}
print unpack('%32C*', $logo), '-', unpack('%32n*', $logo), "\n";
PERL
)

# title NAME: polls up to 40 screenshots for the title screen; prints the logo's checksum.
title() {
    local try
    for try in $(seq 40); do
        shot "$1" >/dev/null
        pixels "$TITLE" "$SHOTS/$1.png" "$X" "$Y" "$WIDTH" "$HEIGHT" 2>"$SHOTS/$1.err" && return 0
        sleep 0.2
    done
    cat "$SHOTS/$1.err" >&2
    return 1
}

# dialog CAPTION: waits for the modal dialog to take the keyboard and sets DX DY DW DH to its
# geometry.
dialog() {
    local id geometry
    id=$(timeout 15 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    [ -n "$id" ] || return 1
    wait_until 20 "the dialog \"$1\" did not take the keyboard" focused "$id"
    geometry=$(xdotool getwindowgeometry --shell "$id")
    DX=$(sed -n 's/^X=//p' <<<"$geometry")
    DY=$(sed -n 's/^Y=//p' <<<"$geometry")
    DW=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
    DH=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
}

# gone CAPTION: whether no window with CAPTION is shown.
gone() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# close_dialog CAPTION: Return presses the dialog's button; waits until it is gone.
close_dialog() {
    xdotool key Return
    wait_until 20 "Return did not close the dialog \"$1\"" gone "$1"
}

start_xvfb 1024x768
start_game
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ -f "$WORKDIR/Pelmoravan.sco" ] || fail "no score file in the fresh working directory"

# --- the title: the logo waves, so two screenshots differ ---
wave1=$(title title) || fail "the title screen does not show the logo"
cp "$SHOTS/title.png" "$SHOTS/title-1.png"
for try in $(seq 20); do
    wave2=$(title title-2) || fail "the title screen does not show the logo"
    [ "$wave2" != "$wave1" ] && break
    [ "$try" = 20 ] && fail "the logo does not wave: 20 screenshots alike"
    sleep 0.1
done
read_menu_bar
echo "title waves; menu bar captions at x ${CAPTIONS[*]}, surface from row $TOP"

# --- F2 deals the Easy board: 160 tiles on their plates ---
key F2
for try in $(seq 40); do
    cells board && [ "$(count board tile)" = 160 ] && break
    [ "$try" = 40 ] && fail "F2 dealt no board of 160 tiles ($(count board tile) found)"
    sleep 0.2
done
level1=$(field board level)
score1=$(field board score)

# --- F4 marks a pair; two clicks remove it ---
show_hint
read -r c1 r1 x1 y1 face1 c2 r2 x2 y2 face2 < <(awk '$1 == "cell" && $5 == "raised" {printf "%s %s %s %s %s ", $2, $3, $6, $7, $8} END {print ""}' "$SHOTS/hint.txt")
[ "$face1" = "$face2" ] || fail "the hinted tiles $c1,$r1 and $c2,$r2 show different pictures"
select_tile "$c1" "$r1" "$x1" "$y1"
click "$x2" "$y2"
for try in $(seq 40); do
    cells pair && [ "$(count pair empty)" = 2 ] && [ "$(count pair tile)" = 158 ] && break
    [ "$try" = 40 ] && fail "the hinted pair $c1,$r1 $c2,$r2 was not removed ($(count pair empty) empty cells)"
    sleep 0.2
done
gone=$(awk '$1 == "cell" && $4 == "empty" {printf "%s,%s ", $2, $3}' "$SHOTS/pair.txt")
[ "$gone" = "$c1,$r1 $c2,$r2 " ] || fail "cells $gone were removed, not the hinted $c1,$r1 $c2,$r2"
[ "$(field pair score)" != "$score1" ] || fail "removing a pair left the score as it was"
echo "hinted pair $c1,$r1 $c2,$r2 removed"

# --- auto-play from the menu: Other, Up to Sequence, Up to Auto ---
choose 2 2
# Auto-play goes on until it is switched off, level after level: the same menu item is made
# ready at once and left open, and Return switches auto-play off as soon as a later level is
# seen. On a busy machine that may be level 3 or beyond: the checks below take the level shown.
open_menu 2 2
# Auto-play takes a pair every two ticks: about 16 s for the board, longer under the sanitizers.
# The level-cleared banner shows for five ticks only: from the last few pairs until level 2 is
# seen, quick screenshots are taken in the background and searched afterwards.
CAPTURE_PID=""
trap '[ -n "$CAPTURE_PID" ] && kill "$CAPTURE_PID" 2>/dev/null; rm -rf "$SHOTS/frames"; cleanup' EXIT
fewest=158 n=0 stuck=0
deadline=$((SECONDS + 180))
while :; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no level after level 1 seen in 180 s ($fewest tiles left at best)"
    n=$((n + 1))
    cells "auto-$n" || fail "auto-play screenshot $n unreadable"
    tiles=$(count "auto-$n" tile)
    if [ "$tiles" -lt "$fewest" ]; then
        fewest=$tiles stuck=0
    elif [ "$tiles" -gt 0 ]; then
        stuck=$((stuck + 1))
        [ "$stuck" -lt 30 ] || fail "auto-play removes nothing: $tiles tiles for 30 screenshots"
    fi
    [ "$n" = 6 ] && cp "$SHOTS/auto-$n.png" "$SHOTS/play.png"
    if [ "$tiles" -le 24 ] && [ -z "$CAPTURE_PID" ]; then
        mkdir -p "$SHOTS/frames"
        (
            for i in $(seq 1000 1600); do
                xwd -root -silent -out "$SHOTS/frames/$i.xwd"
                rm -f "$SHOTS/frames/$((i - 80)).xwd"
            done
        ) &
        CAPTURE_PID=$!
    fi
    # Level 2 is dealt on its own plates.
    # A later level: no tile on level 1's plates, yet the board is not empty, under another name.
    if [ "$tiles" = 0 ] && [ "$(count "auto-$n" empty)" -lt 160 ] &&
        [ "$(field "auto-$n" level)" != "$level1" ]; then
        xdotool key Return # auto-play off
        break
    fi
    sleep 0.3
done
kill "$CAPTURE_PID" 2>/dev/null || true
wait "$CAPTURE_PID" 2>/dev/null || true
CAPTURE_PID=""
wait_until 20 "the menu that switched auto-play off did not close" menu_closed "${CAPTIONS[2]}"
level2=$(field "auto-$n" level)
[ "${level2#* }" -gt 50 ] || fail "the next level shows no name in the status band"

# The banner: red text across the middle of the surface, centred on the screen's width.
# Arguments: FIRST_ROW ROWS FRAME...; prints each frame that may show it, with the text's
# extent. The frames are xwd dumps, read here directly: far quicker than a converter per frame.
BANNER=$(cat <<'PERL'
my ($y, $rows, @frames) = @ARGV;
for my $file (@frames) {
    open(my $fh, '<:raw', $file) or next;
    my $d = do { local $/; <$fh> };
    next if length($d) < 100;
    my ($hsize, $format, $w, $order, $bpp, $bpl, $rmask, $gmask, $bmask, $ncolors) =
        (unpack('N25', $d))[0, 2, 4, 7, 11, 12, 14, 15, 16, 19];
    die "$file: not a 32-bit RGB dump\n"
        unless $format == 2 && $bpp == 32 && $rmask == 0xff0000 && $gmask == 0xff00 && $bmask == 0xff;
    my $off = $hsize + 12 * $ncolors + $y * $bpl;
    next if length($d) < $off + $rows * $bpl;    # the last may be cut short
    my ($red, $min, $max) = (0, $w, -1);
    for my $r (0 .. $rows - 1) {
        my @px = unpack($order ? 'N' . $w : 'V' . $w, substr($d, $off + $r * $bpl, 4 * $w));
        for my $x (0 .. $w - 1) {
            next unless ($px[$x] & 0xffffff) == 0xff0000;
            $red++;
            $min = $x if $x < $min;
            $max = $x if $x > $max;
        }
    }
    print "$file $min $max\n" if $red > 200 && abs($min + $max - $w) < 30 && $max - $min < 400;
}
PERL
)
# Five ticks are half a second, or less when a starved timer catches up: a glimpse is a bonus,
# the status band below is the check that must pass.
middle=$((TOP + (HEIGHT - (TOP - Y)) / 2))
banner=""
while read -r frame left right; do
    convert "$frame" "$SHOTS/banner.png"
    read_cells banner
    if [ "$(count banner tile)" = 0 ] && [ "$(count banner empty)" -ge 148 ]; then
        banner="x $left..$right"
        break
    fi
done < <(perl -e "$BANNER" $((middle - 50)) 100 "$SHOTS"/frames/*.xwd)
frames=$(ls "$SHOTS"/frames | wc -l)
rm -rf "$SHOTS/frames"

# --- with auto-play off the board stands still ---
# board NAME: the cells' states and pictures, marks left out.
board() { awk '$1 == "cell" {print $2, $3, $4, $8}' "$SHOTS/$1.txt"; }
same=0
for try in $(seq 40); do
    cells still
    board still >"$SHOTS/still.now"
    if [ -f "$SHOTS/still.before" ] && cmp -s "$SHOTS/still.now" "$SHOTS/still.before"; then
        same=$((same + 1))
        [ "$same" = 2 ] && break
    else
        same=0
    fi
    [ "$try" = 40 ] && fail "auto-play did not stop"
    mv "$SHOTS/still.now" "$SHOTS/still.before"
    sleep 0.4
done
# The level it stopped on: the plates that the most cells show.
PLATE="" most=0
for level in $(seq 2 10); do
    read_cells still "$ASSETS/backs/back$level.bmp"
    if [ "$(count still tile)" -gt "$most" ]; then
        PLATE="$ASSETS/backs/back$level.bmp" most=$(count still tile)
    fi
done
[ -n "$PLATE" ] || fail "auto-play stopped on a board with no tile on the plates of levels 2 to 10"
read_cells still "$PLATE"
board still >"$SHOTS/still.before"
echo "level 1 cleared, a later level dealt with its name in the status band after $n screenshots;" \
    "banner over the empty board ${banner:-not caught} in $frames quick screenshots;" \
    "auto-play stopped on $(basename "$PLATE" .bmp) with $most tiles"

# --- F3 covers every tile but those under the pause picture; F3 again shows the same board ---
SH=$((HEIGHT - (TOP - Y)))
# outside NAME STATE: cells in STATE whose plate lies clear of the 200 x 150 pause picture.
outside() {
    awk -v s="$2" -v px=$((X + (WIDTH - 200) / 2)) -v py=$((TOP + (SH - 150) / 2)) \
        '$1 == "cell" && $4 == s && !($6 - 25 < px + 200 && $6 + 32 > px && $7 - 18 < py + 150 && $7 + 27 > py)' \
        "$SHOTS/$1.txt" | wc -l
}
[ "$(outside still tile)" -gt 0 ] || fail "auto-play stopped with no tile clear of the pause picture"
key F3
for try in $(seq 40); do
    cells paused "$PLATE" &&
        [ "$(outside paused tile)" = 0 ] && [ "$(outside paused covered)" = "$(outside still tile)" ] && break
    [ "$try" = 40 ] && fail "F3 left $(outside paused tile) tiles uncovered"
    sleep 0.2
done
key F3
for try in $(seq 40); do
    cells resumed "$PLATE" && [ "$(count resumed covered)" = 0 ] && break
    [ "$try" = 40 ] && fail "F3 again left $(count resumed covered) tiles covered"
    sleep 0.2
done
board resumed | cmp -s - "$SHOTS/still.before" || fail "the board after the pause is not the board before it"
echo "paused with $(outside paused covered) tiles covered, resumed with $(count resumed tile) as before"

# --- End Game: Game, Up to its last item ---
choose 0 1
title ended >/dev/null || fail "End Game did not return to the title"

# --- Sequence: Other, Up to its last item; the header and ten ranks ---
choose 2 1
dialog "排名" || fail "Sequence showed no score list"
wait_until 20 "the score list does not show 11 text lines in its rank column" \
    lines_are 11 sequence $((DX + 12)) $((DY + 10)) 30 250
close_dialog "排名"

# --- About: its title, version, two links and four lines on how to play ---
xdotool windowactivate --sync "$WID" 2>/dev/null || true
click "${CAPTIONS[3]}" $(( (Y + TOP) / 2 ))
dialog "关于" || fail "About showed no dialog"
[ "$DW" = 302 ] && [ "$DH" = 257 ] || fail "the About dialog is ${DW}x$DH, not 302x257"
wait_until 20 "the About dialog does not show 4 lines above its text box" \
    lines_are 4 about $((DX + 30)) $((DY + 45)) 250 85
wait_until 20 "the About dialog's text box does not show 4 lines" \
    lines_are 4 about $((DX + 29)) $((DY + 138)) 258 77
close_dialog "关于"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended with the About dialog"

# --- Esc ends the program ---
key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
