# SPDX-License-Identifier: MIT
# Shared helpers for the real-window tests: a private Xvfb, the game in a fresh working
# directory, xdotool input and screenshots kept under the build folder.
# Sourced by the tests as `source lib.sh "$1"`; not a test itself (ctest leaves lib.sh out).
set -euo pipefail

GAME=$(readlink -f "$1")
# The game starts in the locale's language; these tests read its Chinese texts, which the C
# locale gives, whatever the machine's. A test that wants another sets it on its own launch.
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES
TEST_NAME=$(basename "${BASH_SOURCE[1]}" .sh)
SHOTS="$PWD/screenshots/$TEST_NAME"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
WORKDIR=$(mktemp -d)
XVFB_PID=""
WM_PID=""
GAME_PID=""
WID=""
CONVERT=/usr/bin/convert
# The sanitizer build runs here too: leave out the system libraries' own leaks.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../lsan.supp"):print_suppressions=0}"

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORKDIR"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    shot "failure" || true
    exit 1
}

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every tenth of a second until it succeeds;
# after SECONDS the test fails with the message WHAT, followed by what COMMAND last left in SEEN.
# The limits are generous: a loaded machine is slow, and only a fault keeps a condition from
# coming true.
SEEN=""
wait_until() {
    local end=$((SECONDS + $1)) what=$2
    shift 2
    SEEN=""
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what${SEEN:+ ($SEEN)}"
        sleep 0.1
    done
}

# start_xvfb WIDTHxHEIGHT: a private X server on a free display number.
start_xvfb() {
    local size=$1 fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    [ "$DISPLAY" != ":" ] || fail "Xvfb did not start"
}

# start_game: runs the game in the fresh working directory and waits for its window.
start_game() {
    (cd "$WORKDIR" && exec env SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$GAME" \
        >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
    GAME_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
    [ -n "$WID" ] || fail "no game window appeared"
    wait_until 30 "the game window shows no play surface below its menu bar" drawn
}

# geometry [WINDOW]: sets X Y WIDTH HEIGHT to the client area on the screen of WINDOW, the game
# window by default. (xdotool counts a window manager's frame twice in the position.)
geometry() {
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "${1:-$WID}" |
        awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
             /^ +Width:/ {w = $NF} /^ +Height:/ {h = $NF} END {print x, y, w, h}')
}

# drawn [WINDOW]: whether a screenshot shows the game window (or WINDOW) painted: a black row of
# the play surface just below the menu bar. Sets X Y WIDTH HEIGHT (see geometry).
drawn() {
    local file
    geometry "$@"
    file=$(shot drawn)
    # Only the part on the screen is looked at: a window may reach past it.
    pixels 'my ($f, $x, $y, $w) = @ARGV; my $img = load_ppm($f);
            $w = $img->{w} - $x if $x + $w > $img->{w};
            my $t = surface_top($img, $x, $y, $w); exit($t > $y && $t - $y < 60 ? 0 : 1)' \
        "$file" "$X" "$Y" "$WIDTH"
}

# key KEYSYM...: sends keys to the game window.
key() {
    xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID" || true
    xdotool key --clearmodifiers "$@"
}

# click X Y [BUTTON]: clicks at root-window coordinates.
click() {
    # A synced move to where the pointer already is waits for a motion that never comes.
    if [ "$(xdotool getmouselocation --shell | awk -F= '/^[XY]=/{printf "%s ", $2}')" = "$1 $2 " ]; then
        xdotool click "${3:-1}"
    else
        xdotool mousemove --sync "$1" "$2" click "${3:-1}"
    fi
}

# shot NAME: saves the whole screen as NAME.png and prints its path.
shot() {
    import -display "$DISPLAY" -window root "$SHOTS/$1.png" 2>/dev/null
    echo "$SHOTS/$1.png"
}

# pixel FILE X Y: prints the pixel as rrggbb (lower case).
pixel() {
    "$CONVERT" "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1 |
        tr -d '#' | tr 'A-F' 'a-f'
}

# client_origin: prints "X Y" of the window's client area on the screen.
client_origin() {
    xdotool getwindowgeometry --shell "$WID" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'
}

# wait_exit SECONDS: waits for the game to end and sets EXIT_CODE to its exit code, or to
# "timeout". Call it directly, not in $(...): only this shell can collect the game's status.
EXIT_CODE=""
wait_exit() {
    EXIT_CODE="timeout"
    for _ in $(seq $(( $1 * 10 ))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            EXIT_CODE=0
            wait "$GAME_PID" || EXIT_CODE=$?
            GAME_PID=""
            return 0
        fi
        sleep 0.1
    done
}

# pixels PROGRAM ARGS...: runs the Perl PROGRAM with ARGS in @ARGV and these helpers for
# checking screenshots against the pictures they should show:
#   load_ppm(FILE)            any picture ImageMagick reads, as {w, h, d} (d: packed RGB bytes)
#   rgb(IMG, X, Y)            the pixel as "rrggbb", or "" outside the picture
#   row_bytes(IMG, X, Y, N)   the packed bytes of N pixels of row Y from X (all inside)
#   surface_top(IMG, X, Y, W) the first row at or below Y whose W pixels from X are all black
PIXEL_HELPERS=$(cat <<'PERL'
use strict;
use warnings;
sub load_ppm {
    my ($file) = @_;
    open(my $fh, '-|', '/usr/bin/convert', $file, '-depth', '8', 'ppm:-') or die "convert: $!";
    binmode $fh;
    my $d = do { local $/; <$fh> };
    close $fh or die "convert could not read $file\n";
    # Comments may stand between the header's fields (ImageMagick writes one for an xwd dump).
    my $gap = qr/(?:\s|#[^\n]*\n)+/;
    $d =~ s/\AP6$gap(\d+)$gap(\d+)${gap}255\s//s or die "$file: not an 8-bit picture\n";
    return { w => $1, h => $2, d => $d };
}
sub rgb {
    my ($img, $x, $y) = @_;
    return "" if $x < 0 || $y < 0 || $x >= $img->{w} || $y >= $img->{h};
    return unpack('H6', substr($img->{d}, ($y * $img->{w} + $x) * 3, 3));
}
sub row_bytes {
    my ($img, $x, $y, $n) = @_;
    die "row_bytes outside the picture\n"
        if $x < 0 || $y < 0 || $n < 0 || $x + $n > $img->{w} || $y >= $img->{h};
    return substr($img->{d}, ($y * $img->{w} + $x) * 3, $n * 3);
}
sub surface_top {
    my ($img, $x, $y, $w) = @_;
    my $black = "\0" x (3 * $w);
    for my $row ($y .. $img->{h} - 1) {
        return $row if row_bytes($img, $x, $row, $w) eq $black;
    }
    return -1;
}
PERL
)
pixels() {
    local program=$1
    shift
    perl -e "$PIXEL_HELPERS" -e "$program" "$@"
}

# --- reading the Easy board and the menu bar from screenshots ---
ASSETS=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../../assets")

# Reads one screenshot of the Easy board (16 x 10 cells on a 50 x 37 pitch, centred on the
# surface). Arguments: SHOT WINDOW_X WINDOW_Y WINDOW_W WINDOW_H PLATE. Prints the surface's
# first row ("top Y"), a checksum of the score text ("score SUM PIXELS"), of the level name in
# the status band ("level SUM PIXELS"), the count of pure red pixels below the status band
# ("red N") and one line per cell: "cell C R STATE MARK X Y FACE" with STATE tile (the plate's
# outline shows along the picture's empty first row and column), covered (a plate with no
# picture, as while paused), empty (black where the tile stood) or other; MARK raised (hint),
# pressed (selection) or none; X, Y the cell's centre on the screen; FACE a checksum of the
# middle of the tile, which no mark touches.
BOARD_CELLS=$(cat <<'PERL'
my ($shotfile, $wx, $wy, $ww, $wh, $platefile) = @ARGV;
my $shot = load_ppm($shotfile);
my $plate = load_ppm($platefile);
# Found on the right half: a menu left open hangs below the captions on the left.
my $top = surface_top($shot, $wx + int($ww / 2), $wy, $ww - int($ww / 2));
die "no black row below the menu bar\n" if $top < 0 || $top - $wy > 60;
my ($sw, $sh) = ($ww, $wh - ($top - $wy));
print "top $top\n";
my $checksum = sub {
    my ($bytes) = @_;
    my $lit = grep { $_ ne "\0\0\0" } unpack('(a3)*', $bytes);
    return unpack('%32C*', $bytes) . " $lit";
};
# "Scores : " and the number start 20 pixels right of the 300-pixel time bar, centred on the
# screen's width, at the bar's top (10).
my $sx = $wx + int(($shot->{w} - 300) / 2) + 320;
print "score ", $checksum->(join('', map { row_bytes($shot, $sx, $top + $_, $wx + $ww - $sx) } 8 .. 36)), "\n";
# The level's name: the fourth line of the counters, at x 10, y 55; its first 60 pixels, left
# of a menu left open under the third caption.
print "level ", $checksum->(join('', map { row_bytes($shot, $wx + 10, $top + $_, 60) } 53 .. 72)), "\n";
# Pure red below the status band (the bonus message ends above row 110): the level-cleared
# banner on an empty board.
my $red = 0;
for my $y ($top + 110 .. $top + $sh - 1) {
    $red += grep { $_ eq "\xff\0\0" } unpack('(a3)*', row_bytes($shot, $wx, $y, $ww));
}
print "red $red\n";
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
            # The face of a plate with no picture on it, rows 2..34 and columns 2..47.
            $state = 'covered'
                unless grep { row_bytes($shot, $x + 2, $y + $_, 46) ne row_bytes($plate, 2, $_, 46) } 2 .. 34;
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

# read_cells NAME [PLATE]: what screenshot $SHOTS/NAME.png shows, in $SHOTS/NAME.txt; PLATE is
# the level's tile back (level 1's by default). Needs X Y WIDTH HEIGHT of the game window.
read_cells() {
    pixels "$BOARD_CELLS" "$SHOTS/$1.png" "$X" "$Y" "$WIDTH" "$HEIGHT" "${2:-$ASSETS/backs/back1.bmp}" \
        >"$SHOTS/$1.txt"
}

# cells NAME [PLATE]: a screenshot and what it shows, in $SHOTS/NAME.txt; fails when it cannot
# be read.
cells() {
    shot "$1" >/dev/null
    read_cells "$@"
}

# count NAME [STATE] [MARK]: how many cells of $SHOTS/NAME.txt are in STATE with MARK.
count() { awk -v s="${2:-}" -v m="${3:-}" '$1 == "cell" && (s == "" || $4 == s) && (m == "" || $5 == m)' "$SHOTS/$1.txt" | wc -l; }

# field NAME KEY: the values of the line KEY of $SHOTS/NAME.txt ("score", "level", "red").
field() { awk -v k="$2" '$1 == k {$1 = ""; print substr($0, 2)}' "$SHOTS/$1.txt"; }

# focused WINDOW: whether WINDOW has the keyboard focus, as a dialog must before a key meant
# for it is sent.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# lines_are N NAME X Y W H: whether a new screenshot NAME shows N lines of text in the rectangle
# (see text_lines).
lines_are() {
    local n=$1 file lines
    file=$(shot "$2")
    shift 2
    lines=$(text_lines "$file" "$@")
    SEEN="$lines lines"
    [ "$lines" = "$n" ]
}

# marked C R MARK: whether a new screenshot, read into $SHOTS/selected.txt, shows MARK (pressed,
# raised or none) on cell C,R.
marked() {
    cells selected && awk -v c="$1" -v r="$2" -v m="$3" \
        '$1 == "cell" && $2 == c && $3 == r && $5 == m {ok = 1} END {exit !ok}' "$SHOTS/selected.txt"
}

# select_tile C R X Y: a click on the tile of cell C,R at X,Y; waits for its selection mark.
select_tile() {
    click "$3" "$4"
    wait_until 40 "clicking cell $1,$2 did not select it" marked "$1" "$2" pressed
}

# show_hint: F4 until a screenshot shows two raised marks (shown for about 600 ms: look several
# times, ask again if missed); their reading stays in $SHOTS/hint.txt.
show_hint() {
    local ask look
    for ask in $(seq 6); do
        key F4
        for look in 1 2 3; do
            shot "hint-$ask-$look" >/dev/null
        done
        for look in 1 2 3; do
            read_cells "hint-$ask-$look" "$@" || fail "hint screenshot unreadable"
            cp "$SHOTS/hint-$ask-$look.txt" "$SHOTS/hint.txt"
            [ "$(count hint "" raised)" = 2 ] && return 0
        done
    done
    fail "F4 showed no two raised marks in $ask tries"
}

# Prints the centre x of each caption in the menu bar of screenshot FILE, left to right, one a
# line: dark glyph columns above the surface, split where a gap is wider than between two
# characters of one caption. Arguments: FILE WINDOW_X WINDOW_Y WINDOW_W SURFACE_TOP.
MENU_CAPTIONS=$(cat <<'PERL'
my ($file, $wx, $wy, $ww, $top) = @ARGV;
my $shot = load_ppm($file);
my @dark;
for my $x (0 .. $ww - 1) {
    for my $y ($wy + 2 .. $top - 3) {
        my ($r, $g, $b) = unpack('C3', row_bytes($shot, $wx + $x, $y, 1));
        if ($r + $g + $b < 3 * 96) { push @dark, $x; last }
    }
}
my @groups;
for my $x (@dark) {
    if (@groups && $x - $groups[-1][1] <= 8) { $groups[-1][1] = $x } else { push @groups, [$x, $x] }
}
printf "%d\n", $wx + int(($_->[0] + $_->[1]) / 2) for @groups;
PERL
)

# menu_captions NAME: a screenshot and the centres of the menu bar's captions, one a line.
# Needs X Y WIDTH of the game window.
menu_captions() {
    local file top
    file=$(shot "$1")
    top=$(surface_row "$file")
    pixels "$MENU_CAPTIONS" "$file" "$X" "$Y" "$WIDTH" "$top"
}

# surface_row FILE: the first row of the play surface below the menu bar in screenshot FILE.
# Needs X Y WIDTH of the game window.
surface_row() {
    pixels 'my $t = surface_top(load_ppm($ARGV[0]), @ARGV[1..3]); die "no surface\n" if $t < 0; print "$t\n"' \
        "$1" "$X" "$Y" "$WIDTH"
}

# text_lines FILE X Y W H: how many lines of dark text on a light ground the rectangle of
# screenshot FILE holds: runs of rows with a pixel darker than 60 % grey.
text_lines() {
    pixels '
        my ($file, $x, $y, $w, $h) = @ARGV;
        my $img = load_ppm($file);
        my ($lines, $prev) = (0, 0);
        for my $row ($y .. $y + $h - 1) {
            my $dark = grep { my ($r, $g, $b) = unpack("C3", $_); 0.2126 * $r + 0.7152 * $g + 0.0722 * $b < 153 }
                unpack("(a3)*", row_bytes($img, $x, $row, $w));
            $lines++ if $dark && !$prev;
            $prev = $dark;
        }
        print "$lines\n";' "$@"
}

# read_menu_bar: sets TOP to the first row of the play surface and CAPTIONS to the centres of
# the menu bar's five captions (Game, Setting, Other, About, Exit), from a screenshot.
read_menu_bar() {
    mapfile -t CAPTIONS < <(menu_captions menubar)
    [ "${#CAPTIONS[@]}" = 5 ] || fail "the menu bar shows ${#CAPTIONS[@]} captions, not five"
    TOP=$(surface_row "$SHOTS/menubar.png")
}

# highlight X: the first row of the highlighted (blue) item of the open menu, in the column X
# inside it, or nothing.
highlight() {
    shot menu >/dev/null
    pixels 'my ($f, $x, $y) = @ARGV; my $img = load_ppm($f);
            for my $row ($y .. $img->{h} - 1) {
                my ($r, $g, $b) = unpack("C3", row_bytes($img, $x, $row, 1));
                if ($b > $r + 60) { print "$row\n"; last }
            }' "$SHOTS/menu.png" "$1" "$TOP"
}

# choose N UPS: open_menu N UPS, then Return chooses the highlighted item.
choose() {
    open_menu "$@"
    xdotool key Return
    wait_until 20 "the menu under caption $1 did not close" menu_closed "${CAPTIONS[$1]}"
}

# menu_open X: whether a screenshot shows a menu open under the caption at X: its white ground
# just below the menu bar. menu_closed X: the opposite.
menu_open() {
    shot menu >/dev/null
    pixels 'my ($f, $x, $y) = @ARGV; my $img = load_ppm($f);
            exit(row_bytes($img, $x - 5, $y, 11) . row_bytes($img, $x - 5, $y + 2, 11) eq "\xff" x 66 ? 0 : 1)' \
        "$SHOTS/menu.png" "$1" $((TOP + 1))
}
menu_closed() { ! menu_open "$@"; }

# open_menu N UPS: clicks the Nth caption of the menu bar (0 Game, 2 Other), presses Up UPS times
# (the first picks the last item, each further one the item above), each seen to take effect
# before the next. The open menu has the keyboard, so these keys reach it, not the game, and
# Return chooses the item. Needs read_menu_bar first.
open_menu() {
    local x=${CAPTIONS[$1]} ups=$2 last="" now try
    xdotool windowactivate --sync "$WID" 2>/dev/null || true
    click "$x" $(( (Y + TOP) / 2 ))
    wait_until 30 "the menu under caption $1 did not open" menu_open "$x"
    # The menu grabbed the keyboard when it was shown, before it was drawn: the keys reach it.
    for _ in $(seq "$ups"); do
        xdotool key Up
        for try in $(seq 30); do
            now=$(highlight $((x + 8)))
            [ -n "$now" ] && [ "$now" != "$last" ] && break
            [ "$try" = 30 ] && fail "Up did not move the highlight in the menu under caption $1"
            sleep 0.1
        done
        last=$now
    done
}
