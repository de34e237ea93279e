# Shared helpers for the real-window tests: a private Xvfb, the game in a fresh working
# directory, xdotool input and screenshots kept under the build folder.
# Sourced by the tests as `source lib.sh "$1"`; not a test itself (ctest leaves lib.sh out).
set -euo pipefail

GAME=$(readlink -f "$1")
TEST_NAME=$(basename "${BASH_SOURCE[1]}" .sh)
SHOTS="$PWD/screenshots/$TEST_NAME"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
WORKDIR=$(mktemp -d)
XVFB_PID=""
GAME_PID=""
WID=""
CONVERT=/usr/bin/convert
# The sanitizer build runs here too: leave out the system libraries' own leaks.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../lsan.supp"):print_suppressions=0}"

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORKDIR"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    shot "failure" || true
    exit 1
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
    sleep 0.5
}

# key KEYSYM...: sends keys to the game window.
key() {
    xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID" || true
    xdotool key --clearmodifiers "$@"
}

# click X Y [BUTTON]: clicks at root-window coordinates.
click() {
    xdotool mousemove --sync "$1" "$2" click "${3:-1}"
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
    $d =~ s/\AP6\s+(\d+)\s+(\d+)\s+255\s//s or die "$file: not an 8-bit picture\n";
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
