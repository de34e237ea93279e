#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The start language: with --language english, or with no option under an English locale, the
# play screen's status line begins with "Remain Time : ", pixel for pixel as the game's surface
# draws that text; under the C locale, a Chinese LC_MESSAGES before an English LANG, or with
# --language chinese in an English locale, it does not.
source "$(dirname "$0")/lib.sh" "$1"

REFERENCE_TOOL="$(dirname "$GAME")/tests/text_reference"
start_xvfb 1024x768
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR SDL_AUDIODRIVER=dummy
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR"' EXIT

"$REFERENCE_TOOL" "Remain Time : " 9 "$SHOTS/reference.png" || fail "no reference drawn"

# start_with [NAME=VALUE...] ARGS...: the game with ARGS and those variables in a fresh working
# directory, as start_game does.
start_with() {
    local vars=()
    while [[ "${1:-}" == *=* ]]; do vars+=("$1"); shift; done
    rm -rf "$WORKDIR"
    WORKDIR=$(mktemp -d)
    (cd "$WORKDIR" && exec env "${vars[@]}" "$GAME" "$@" >"$SHOTS/stdout.txt" 2>"$SHOTS/stderr.txt") &
    GAME_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
    [ -n "$WID" ] || fail "no game window appeared for $*"
    wait_until 30 "the game window for $* shows no play surface below its menu bar" drawn
}

# Prints "yes" when screenshot FILE shows the reference at (10, 10) of the play surface, whose
# top is the first black row below the menu bar, else "no"; "none" while no surface shows.
MATCH=$(cat <<'PERL'
my ($file, $reffile, $wx, $wy, $ww) = @ARGV;
my $shot = load_ppm($file);
my $ref = load_ppm($reffile);
my $top = surface_top($shot, $wx, $wy, $ww);
if ($top < 0) { print "none\n"; exit 0 }
for my $y (0 .. $ref->{h} - 1) {
    if (row_bytes($shot, $wx + 10, $top + 10 + $y, $ref->{w}) ne row_bytes($ref, 0, $y, $ref->{w})) {
        print "no\n";
        exit 0;
    }
}
print "yes\n";
PERL
)

# status_line NAME: after F2, screenshots until the status band shows (its white time-bar frame
# at the band's top), then whether the reference stands at the start of its first line.
status_line() {
    local x y try answer
    eval "$(xdotool getwindowgeometry --shell "$WID" | grep -E '^(X|Y|WIDTH)=')"
    key F2
    for try in $(seq 60); do
        shot "$1" >/dev/null
        answer=$(pixels "$MATCH" "$SHOTS/$1.png" "$SHOTS/reference.png" "$X" "$Y" "$WIDTH")
        [ "$answer" = yes ] && { echo yes; return; }
        # The band is up once the time bar shows: centred on the 1024-pixel screen, 300 wide, red
        # in a white frame from row 9.
        pixels 'my $img = load_ppm($ARGV[0]); my $top = surface_top($img, @ARGV[1..3]);
                exit($top >= 0 && rgb($img, $ARGV[1] + 361, $top + 9) eq "ffffff"
                     && rgb($img, $ARGV[1] + 363, $top + 11) eq "ff0000" ? 0 : 1)' \
            "$SHOTS/$1.png" "$X" "$Y" "$WIDTH" && { echo "$answer"; return; }
        sleep 0.2
    done
    echo "no band"
}

start_with --language english
[ "$(status_line english)" = yes ] || fail "--language english does not show \"Remain Time : \""
key Escape
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "Esc gave exit code $EXIT_CODE"

start_with
[ "$(status_line chinese)" = no ] || fail "the C locale's start does not show its own status line"
key Escape
wait_exit 30

start_with LANG=en_GB.UTF-8
[ "$(status_line locale-english)" = yes ] || fail "an English locale does not start in English"
key Escape
wait_exit 30

start_with LC_MESSAGES=zh_TW.UTF-8 LANG=en_GB.UTF-8
[ "$(status_line locale-chinese)" = no ] || fail "a Chinese LC_MESSAGES does not outweigh an English LANG"
key Escape
wait_exit 30

start_with LANG=en_GB.UTF-8 --language chinese
[ "$(status_line option-chinese)" = no ] || fail "--language chinese does not win over an English locale"
key Escape
wait_exit 30
echo "PASS"
