#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The play screen in a real window at 1024 x 768: the title shows the logo at one and a half
# times its size, waving row by row, and the wave moves on; F2 deals the Easy board of 16 x 10
# tile plates centred on the play surface below the menu bar; F3 covers every tile and shows the
# pause picture, F3 again uncovers them; Esc ends the program with exit code 0.
source "$(dirname "$0")/lib.sh" "$1"
ASSETS=$(readlink -f "$(dirname "$0")/../../assets")

# Checks one screenshot; prints what it found and exits non-zero when the screen is not as it
# should be. Arguments: MODE SHOT WINDOW_X WINDOW_Y WINDOW_W WINDOW_H SURFACE_TOP [EXTRA].
# The surface fills the window below the menu bar: SURFACE_TOP is its first row on the screen.
CHECK=$(cat <<'PERL'
my ($mode, $shotfile, $wx, $wy, $ww, $wh, $top, $extra) = @ARGV;
my $shot = load_ppm($shotfile);
if ($mode eq 'top') {
    my $y = surface_top($shot, $wx, $wy, $ww);
    die "no black row below the menu bar\n" if $y < 0 || $y - $wy > 60;
    print "$y\n";
    exit 0;
}
my ($sw, $sh) = ($ww, $wh - ($top - $wy));

if ($mode eq 'title') {
    # The logo drawn at 1.5 times its size, each row shifted sideways by
    # round(4 sin(2 pi k / 256)) with k = (10 * ticks + row * (2^24 div 200) / 2^16) mod 256.
    my $logo = load_ppm($extra);
    my ($w, $h) = ($logo->{w}, $logo->{h});
    my ($dw, $dh) = ($w + int($w / 2), $h + int($h / 2));
    my $x0 = $wx + int(($sw - $w) / 2) - int($w / 2) + 20;
    my $y0 = $top + int(($sh - $h) / 2) - int($h / 2);
    die "logo outside the screen\n" if $x0 < 4 || $x0 + $dw + 4 > $shot->{w} || $y0 < 0 || $y0 + $dh > $shot->{h};
    my $cstep = int($w * 65536 / $dw);
    my $rstep = int($h * 65536 / $dh);
    my @cols = map { ($_ * $cstep) >> 16 } 0 .. $dw - 1;
    my (%expected, @shifts);
    my $matched = 0;
    for my $i (0 .. $dh - 1) {
        my $r = ($i * $rstep) >> 16;
        $expected{$r} //= join('', map { substr($logo->{d}, ($r * $w + $_) * 3, 3) } @cols);
        my %fits = map { $_ => 1 } grep { row_bytes($shot, $x0 + $_, $y0 + $i, $dw) eq $expected{$r} } -4 .. 4;
        $matched++ if %fits;
        push @shifts, \%fits;
    }
    my $need = int($dh * 0.97);
    die "only $matched of $dh logo rows on screen\n" if $matched < $need;
    my ($best, $bestcount) = (-1, -1);
    for my $t (0 .. 127) {
        my $count = 0;
        for my $i (0 .. $dh - 1) {
            my $k = (10 * $t + (($i * int(16777216 / 200)) >> 16)) & 255;
            my $s = sprintf('%.0f', 4 * sin(2 * 3.14159265358979 * $k / 256)) + 0;
            $count++ if $shifts[$i]{$s};
        }
        ($best, $bestcount) = ($t, $count) if $count > $bestcount;
    }
    die "rows do not follow the wave (best phase $best fits $bestcount of $dh)\n" if $bestcount < $need;
    die "the wave has not moved on from phase $best\n" if defined $extra && @ARGV > 8 && $ARGV[8] == $best;
    print "$best\n";
    exit 0;
}

# Board modes: the Easy board, 16 x 10 cells on a 50 x 37 pitch, centred on the surface.
my $plate = load_ppm($extra);
my ($cols, $rows, $cw, $ch) = (16, 10, 50, 37);
my ($pw, $ph) = ($plate->{w}, $plate->{h});
my $left = $wx + int(($sw - $cols * $cw) / 2);
my $btop = $top + int(($sh - $rows * $ch) / 2);
my $black = sub { "\0" x (3 * $_[0]) };
my @bad;
# The face of a plate with no picture on it, rows 2..34 and columns 2..47.
my $plain = sub {
    my ($x, $y) = @_;
    for my $j (2 .. 34) {
        return 0 if row_bytes($shot, $x + 2, $y + $j, 46) ne row_bytes($plate, 2, $j, 46);
    }
    return 1;
};

if ($mode eq 'board') {
    # Every tile picture leaves its first row and column in the key colour, so the plate's
    # outline shows there; the plates of the last column and row show their full edge.
    my $covered = 0;
    for my $c (0 .. $cols - 1) {
        for my $r (0 .. $rows - 1) {
            my ($x, $y) = ($left + $c * $cw, $btop + $r * $ch);
            my @pts = ((map { [$_, 0] } 4 .. 45), (map { [0, $_] } 4 .. 33));
            push @pts, grep { rgb($plate, @$_) ne '000000' } map { my $px = $_; map { [$px, $_] } 37 .. $ph - 1 } 7 .. $cw - 1
                if $r == $rows - 1;
            push @pts, grep { rgb($plate, @$_) ne '000000' } map { my $px = $_; map { [$px, $_] } 8 .. $ch - 1 } $cw .. $pw - 1
                if $c == $cols - 1;
            my $wrong = grep { rgb($shot, $x + $_->[0], $y + $_->[1]) ne rgb($plate, @$_) } @pts;
            push @bad, "cell $c,$r: $wrong of " . scalar(@pts) . " plate pixels differ" if $wrong;
            $covered++ if $plain->($x, $y);
        }
    }
    push @bad, "$covered tiles show no picture" if $covered;
    # Black all round: between the status band and the board, below, left and right of it.
    my $bottom = $btop + ($rows - 1) * $ch + $ph;
    my $right = $left + ($cols - 1) * $cw + $pw;
    for my $y (($top + 110 .. $btop - 1), ($bottom .. $top + $sh - 1)) {
        push @bad, "row $y is not black" if row_bytes($shot, $wx, $y, $ww) ne $black->($ww);
    }
    for my $y ($btop .. $bottom - 1) {
        push @bad, "left of the board, row $y is not black" if row_bytes($shot, $wx, $y, $left - $wx) ne $black->($left - $wx);
        push @bad, "right of the board, row $y is not black"
            if row_bytes($shot, $right, $y, $wx + $ww - $right) ne $black->($wx + $ww - $right);
    }
    die join("\n", @bad[0 .. ($#bad < 9 ? $#bad : 9)]) . "\n" if @bad;
    print "board of $cols x $rows plates at ", $left - $wx, ",", $btop - $top, " on a ${sw}x$sh surface\n";
    exit 0;
}

if ($mode eq 'paused') {
    # Each tile covered by a plain plate; the pause picture centred, black left out.
    my $pause = load_ppm($ARGV[8]);
    my $px = $wx + int(($sw - $pause->{w}) / 2);
    my $py = $top + int(($sh - $pause->{h}) / 2);
    my ($drawn, $wrong) = (0, 0);
    for my $y (0 .. $pause->{h} - 1) {
        for my $x (0 .. $pause->{w} - 1) {
            my $p = rgb($pause, $x, $y);
            next if $p eq '000000';
            $drawn++;
            $wrong++ if rgb($shot, $px + $x, $py + $y) ne $p;
        }
    }
    push @bad, "$wrong of $drawn pixels of the pause picture differ" if $wrong;
    my $checked = 0;
    for my $c (0 .. $cols - 1) {
        for my $r (0 .. $rows - 1) {
            my ($x, $y) = ($left + $c * $cw, $btop + $r * $ch);
            next if $x + $pw > $px && $x < $px + $pause->{w} && $y + $ph > $py && $y < $py + $pause->{h};
            $checked++;
            push @bad, "cell $c,$r is not covered" unless $plain->($x, $y);
        }
    }
    die join("\n", @bad[0 .. ($#bad < 9 ? $#bad : 9)]) . "\n" if @bad;
    print "$checked tiles covered, pause picture at ", $px - $wx, ",", $py - $top, "\n";
    exit 0;
}
die "unknown mode $mode\n";
PERL
)

# poll NAME TRIES MODE [EXTRA...]: screenshots until the check passes; the last one is kept.
poll() {
    local name=$1 tries=$2 mode=$3 file out="" try
    shift 3
    for ((try = 1; try <= tries; try++)); do
        file=$(shot "$name")
        if out=$(pixels "$CHECK" "$mode" "$file" "$X" "$Y" "$WIDTH" "$HEIGHT" "${TOP:-0}" "$@" 2>&1); then
            echo "$out"
            return 0
        fi
        sleep 0.2
    done
    echo "$out" >&2
    return 1
}

start_xvfb 1024x768
start_game
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" = 1024 ] || fail "window is $WIDTH pixels wide"

TOP=$(poll title 20 top) || fail "no play surface below the menu bar"
echo "play surface from row $TOP: ${WIDTH}x$((HEIGHT - (TOP - Y)))"
phase=$(poll title 30 title "$ASSETS/screens/logo.bmp") || fail "the title does not show the waving logo"
echo "logo at wave phase $phase"
# A little later the rows have moved: the phase must change.
phase2=$(poll title-later 30 title "$ASSETS/screens/logo.bmp" "$phase") || fail "the logo does not wave"
echo "logo at wave phase $phase2"

key F2
poll board 30 board "$ASSETS/backs/back1.bmp" || fail "F2 dealt no board of plates at its place"

key F3
poll paused 30 paused "$ASSETS/backs/back1.bmp" "$ASSETS/screens/back.bmp" || fail "F3 did not cover the board"
key F3
poll resumed 30 board "$ASSETS/backs/back1.bmp" || fail "F3 again did not uncover the board"

key Escape
wait_exit 30
[ "$EXIT_CODE" = "0" ] || fail "Esc gave exit code $EXIT_CODE"
echo "PASS"
