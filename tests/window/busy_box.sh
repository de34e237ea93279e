#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The score file's busy box in a real window, under a window manager (openbox): another process
# holds the score file's lock (flock, as another copy of the game would) when the score of the
# tenth level of Easy is read or recorded. Four starts of the test build of the game
# (tests/tools/level_ten_game.cpp: the shipped window, with its first deal made the tenth level's
# last pair and a log of the requests the window is handed); two clicks end the difficulty.
#  - cancel:  held from before the clear (the list is read under the lock). The box comes about
#             a second later (after the game's ten ticks of patience), drawn, and the window
#             goes on drawing around it: the box is moved over the menu bar and status band and
#             back, and the window shows them again as they were. Cancel (Return) records
#             nothing and a box says so; the question of the next difficulty follows.
#  - freed:   held anew while the name is asked; Return, and the box comes a second later;
#             freeing the lock closes it with no key pressed, the score is recorded and the list
#             shows it.
#  - esc:     held likewise; Esc pressed in the window once the name entry has gone, before the
#             box, ends the program with exit code 0 (the game's way out while it waits for the
#             lock), with no box shown and nothing recorded.
#  - stopped: a holder stopped with SIGSTOP keeps the lock: the box stays up and the window
#             drawing, until Cancel (Esc at the box), which records nothing and says so.
# Behind every box play stands still, as behind every dialog at the end of a difficulty: the
# window draws the frame it showed before the box, clock and status band unchanged.
source "$(dirname "$0")/lib.sh" "$1"

LEVEL_TEN="$(dirname "$GAME")/tests/level_ten_game"
[ -x "$LEVEL_TEN" ] || fail "no $LEVEL_TEN: build the target level_ten_game"

start_xvfb 1024x768
# Qt warns on stderr without a runtime folder; the lines looked at below are the game's own.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
WM_HOME=$(mktemp -d)
HOLDER=""
# let_go: the holder of the lock, if any, ends (and its lock with it), stopped or not.
let_go() {
    if [ -n "$HOLDER" ]; then
        kill -KILL -- "-$HOLDER" 2>/dev/null || true
        wait "$HOLDER" 2>/dev/null || true
        HOLDER=""
    fi
}
trap 'let_go; cleanup; rm -rf "$XDG_RUNTIME_DIR" "$WM_HOME"' EXIT
XDG_CONFIG_HOME="$WM_HOME" XDG_CACHE_HOME="$WM_HOME" openbox --sm-disable >"$SHOTS/openbox.txt" 2>&1 &
WM_PID=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 30 "openbox did not start" managed

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# --- one start of the game on the tenth level's last pair ---
# start_round NAME: the game in a fresh working directory, its requests logged in
# $SHOTS/NAME-requests.txt; F2 deals, which the test build turns into the tenth level with two
# tiles left, found on the screen: C1 R1 X1 Y1 and C2 R2 X2 Y2.
ROUND=""
REQUESTS=""
SCORES=""
start_round() {
    ROUND=$1
    rm -rf "$WORKDIR"
    WORKDIR=$(mktemp -d)
    SCORES="$WORKDIR/Pelmoravan.sco"
    REQUESTS="$SHOTS/$ROUND-requests.txt"
    : >"$REQUESTS"
    (cd "$WORKDIR" && exec env SDL_AUDIODRIVER=dummy "$LEVEL_TEN" "$REQUESTS" \
        >"$SHOTS/$ROUND-stdout.txt" 2>"$SHOTS/$ROUND-stderr.txt") &
    GAME_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name "Pelmoravan" 2>/dev/null | head -n1) || true
    [ -n "$WID" ] || fail "$ROUND: no game window appeared"
    # The board is dealt for the surface as it is: wait until the frame is known and the window
    # has its final size.
    wait_until 30 "$ROUND: the framed window does not cover the work area" framed
    wait_until 30 "$ROUND: the game window shows no play surface" drawn
    [ -s "$SCORES" ] || fail "$ROUND: no score file after start-up"
    key F2
    wait_until 30 "$ROUND: F2 did not give the tenth level's last pair" last_pair
    read -r C1 R1 X1 Y1 _ _ X2 Y2 < <(awk '$1 == "cell" && $4 == "tile" {printf "%s %s %s %s ", $2, $3, $6, $7} END {print ""}' \
        "$SHOTS/$ROUND-board.txt")
    cp "$SCORES" "$SHOTS/$ROUND-before.sco"
}

# framed: whether the window manager's frame is known and the framed window covers the screen.
framed() {
    local l r t b
    geometry
    read -r l r t b < <(xprop -id "$WID" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ,)
    [ -n "${t:-}" ] || { SEEN="no frame extents"; return 1; }
    SEEN="frame $((X - l)) $((Y - t)) $((X + WIDTH + r)) $((Y + HEIGHT + b))"
    [ "$SEEN" = "frame 0 0 1024 768" ]
}

# last_pair: whether the log says the tenth level was set and a screenshot shows two tiles on
# its plates.
last_pair() {
    logged level-ten || { SEEN="not set yet"; return 1; }
    cells "$ROUND-board" "$ASSETS/backs/back10.bmp" || return 1
    SEEN="$(count "$ROUND-board" tile) tiles"
    [ "$(count "$ROUND-board" tile)" = 2 ]
}

# clear_level: the two clicks that remove the last pair and end the difficulty. Sets CLEARED_AT.
clear_level() {
    select_tile "$C1" "$R1" "$X1" "$Y1"
    CLEARED_AT=$(now_ms)
    click "$X2" "$Y2"
}

# --- the requests the window is handed, from the log ---
# shown KIND [AFTER]: whether the log has a request of KIND with an id above AFTER (0); sets
# SHOWN_ID, SHOWN_AT (the wall clock's ms when the window was handed it) and SHOWN_TEXT.
SHOWN_ID=""
SHOWN_AT=""
SHOWN_TEXT=""
shown() {
    local line
    line=$(awk -v k="$1" -v after="${2:-0}" '$2 == "shown" && $4 == k && $3 > after {print; exit}' "$REQUESTS")
    SEEN="the log: $(cut -d' ' -f2- "$REQUESTS" | tr '\n' ';')"
    [ -n "$line" ] || return 1
    SHOWN_AT=$(cut -d' ' -f1 <<<"$line")
    SHOWN_ID=$(cut -d' ' -f3 <<<"$line")
    SHOWN_TEXT=$(cut -d' ' -f5- <<<"$line")
}
# logged WORDS...: whether the log has the line WORDS (after its time).
logged() { cut -d' ' -f2- "$REQUESTS" | grep -qx "$*"; }
# withdrawn ID: whether the log says the game took request ID down itself.
withdrawn() { logged withdrawn "$1"; }

# --- the windows of the boxes ---
# box_window: sets BOX to the one window named as the game's other than the main window; its
# client area to BX BY BW BH.
BOX=""
box_window() {
    local boxes
    boxes=$(xdotool search --onlyvisible --name "^Pelmoravan" 2>/dev/null | grep -vx "$WID" || true)
    SEEN="windows: ${boxes//$'\n'/ }"
    [ -n "$boxes" ] && [ "$(wc -l <<<"$boxes")" = 1 ] || return 1
    BOX=$boxes
    geometry "$BOX"
    BX=$X BY=$Y BW=$WIDTH BH=$HEIGHT
    geometry
}
# no_box: whether no window but the main one bears the game's name.
no_box() { [ -z "$(xdotool search --onlyvisible --name "^Pelmoravan" 2>/dev/null | grep -vx "$WID")" ]; }

# box_drawn NAME: whether a screenshot shows the box painted: its light ground over most of its
# client area, with dark text on it.
box_drawn() {
    local file
    file=$(shot "$ROUND-$1")
    SEEN=$(pixels 'my ($f, $x, $y, $w, $h) = @ARGV; my $img = load_ppm($f);
        my ($light, $dark) = (0, 0);
        for my $row ($y .. $y + $h - 1) {
            for (unpack("(a3)*", row_bytes($img, $x, $row, $w))) {
                my ($r, $g, $b) = unpack("C3", $_);
                my $l = 0.2126 * $r + 0.7152 * $g + 0.0722 * $b;
                $light++ if $l > 200;
                $dark++ if $l < 100;
            }
        }
        printf "%d%% light, %d dark pixels\n", 100 * $light / ($w * $h), $dark;' "$file" "$BX" "$BY" "$BW" "$BH")
    [ "${SEEN%%%*}" -ge 80 ] && [ "$(cut -d' ' -f3 <<<"$SEEN")" -ge 50 ]
}

# --- the window keeps drawing around a box ---
# frame_rect: prints the outer rectangle "X Y W H" of the box with its frame.
frame_rect() {
    local l r t b
    read -r l r t b < <(xprop -id "$BOX" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    echo "$((BX - l)) $((BY - t)) $((BW + l + r)) $((BH + t + b))"
}
# same_area NAME REFERENCE X Y W H: whether a new screenshot NAME shows the rectangle as
# screenshot REFERENCE does.
same_area() {
    local file
    file=$(shot "$ROUND-$1")
    SEEN=$(pixels 'my ($f, $g, $x, $y, $w, $h) = @ARGV; my ($a, $b) = (load_ppm($f), load_ppm($g)); my $n = 0;
        for my $row ($y .. $y + $h - 1) {
            my ($p, $q) = (row_bytes($a, $x, $row, $w), row_bytes($b, $x, $row, $w));
            next if $p eq $q;
            $n += grep { substr($p, 3 * $_, 3) ne substr($q, 3 * $_, 3) } 0 .. $w - 1;
        }
        print "$n pixels differ\n";' "$file" "$2" "$3" "$4" "$5" "$6")
    [ "$SEEN" = "0 pixels differ" ]
}
# moved_to X Y: whether the box's client area is at X Y.
moved_to() { box_window && SEEN="box at $BX $BY" && [ "$BX $BY" = "$1 $2" ]; }
# window_draws: the box is moved over the menu bar and status band of the window and back; the
# box is drawn at each place, and the window draws again what the box left uncovered: the bar
# and the band as they were before (a window that did not draw would keep the box's picture).
window_draws() {
    local home_x=$BX home_y=$BY rect
    shot "$ROUND-before-move" >/dev/null
    xdotool windowmove "$BOX" 10 50
    wait_until 30 "$ROUND: the box did not move over the status band" moved_to 10 50
    wait_until 30 "$ROUND: the box is not drawn over the status band" box_drawn moved
    rect=$(frame_rect)
    xdotool windowmove "$BOX" "$home_x" "$home_y"
    wait_until 30 "$ROUND: the box did not move back" moved_to "$home_x" "$home_y"
    wait_until 30 "$ROUND: the box is not drawn back in its place" box_drawn back
    # shellcheck disable=SC2086
    wait_until 30 "$ROUND: the window did not draw again where the box was, over its status band" \
        same_area redrawn "$SHOTS/$ROUND-before-move.png" $rect
}

# --- the lock's holder ---
# hold: another process takes the score file's lock and keeps it (in a session of its own, so
# that the whole of it can be stopped or ended).
hold() {
    setsid flock "$SCORES" sleep 600 &
    HOLDER=$!
    wait_until 30 "the lock holder did not take the lock" held
}
held() { ! flock -n "$SCORES" true; }

# first_entry FILE: the score and name of rank 1 in a score file.
first_entry() {
    perl -e 'local $/; my $d = <STDIN>; my $n = ord(substr($d, 33, 1));
             printf "%d %s\n", unpack("V", substr($d, 85, 4)), substr($d, 34, $n);' <"$1"
}
unchanged() { cmp -s "$SCORES" "$SHOTS/$ROUND-before.sco" || fail "$ROUND: the score file changed: $(first_entry "$SCORES")"; }

# busy_box_shows SINCE: waits for the busy box, which the window must be handed about a second
# after SINCE (the wall clock's ms, taken just before the input that began the record): after
# the ten ticks of the game's patience, the first of which may come at once, so no sooner than
# 800 ms, and within a generous while; then it must show, drawn, and take the keyboard.
BUSY=""
busy_box_shows() {
    local since=$1 after
    wait_until 60 "$ROUND: no busy box in the log" shown ScoreBusy
    BUSY=$SHOWN_ID
    after=$((SHOWN_AT - since))
    [ "$SHOWN_TEXT" = "另一个正在运行的游戏正在使用排名文件，请稍候……" ] || fail "$ROUND: the busy box says \"$SHOWN_TEXT\""
    [ "$after" -ge 800 ] || fail "$ROUND: the busy box came $after ms after the record began, well before a second"
    [ "$after" -le 20000 ] || fail "$ROUND: the busy box came only $after ms after the record began"
    wait_until 30 "$ROUND: the busy box's window did not show" box_window
    wait_until 30 "$ROUND: the busy box is not drawn" box_drawn busy
    wait_until 30 "$ROUND: the busy box did not take the keyboard" focused "$BOX"
    echo "$ROUND: the busy box came $after ms after the record began"
}

# told_not_recorded: the box that says nothing was recorded, drawn; Return closes it.
told_not_recorded() {
    wait_until 30 "$ROUND: no box said that the score was not recorded" shown Message "$BUSY"
    [ "$SHOWN_TEXT" = "成绩没有记录。" ] || fail "$ROUND: after Cancel the game said \"$SHOWN_TEXT\""
    wait_until 30 "$ROUND: the box of the score not recorded did not show" box_window
    wait_until 30 "$ROUND: the box of the score not recorded is not drawn" box_drawn told
    wait_until 30 "$ROUND: the box of the score not recorded did not take the keyboard" focused "$BOX"
    xdotool key Return
}

# question_then_quit AFTER: the question of the next difficulty; Esc answers No, back to the
# title, and Esc in the window ends the program with exit code 0.
question_then_quit() {
    wait_until 30 "$ROUND: no question of the next difficulty" shown YesNo "$1"
    wait_until 30 "$ROUND: the question's window did not show" box_window
    wait_until 30 "$ROUND: the question did not take the keyboard" focused "$BOX"
    xdotool key Escape
    wait_until 30 "$ROUND: Esc did not close the question" no_box
    kill -0 "$GAME_PID" 2>/dev/null || fail "$ROUND: the game ended at the question"
    key Escape
    wait_exit 30
    [ "$EXIT_CODE" = 0 ] || fail "$ROUND: Esc gave exit code $EXIT_CODE"
}

# name_asked: the name entry of rank 1 shows and has the keyboard; sets NAME_BOX.
name_asked() {
    wait_until 30 "$ROUND: no name asked for" shown NameEntry
    NAME_BOX=$(timeout 30 xdotool search --sync --onlyvisible --name "^No\.1$" 2>/dev/null | head -n1) || true
    [ -n "$NAME_BOX" ] || fail "$ROUND: the name entry's window did not show"
    wait_until 30 "$ROUND: the name entry did not take the keyboard" focused "$NAME_BOX"
}

# ===== cancel: held at the clear; Cancel records nothing and the game says so =====
start_round cancel
hold
clear_level
busy_box_shows "$CLEARED_AT"
window_draws
withdrawn "$BUSY" && fail "cancel: the busy box went while the lock is held"
xdotool key Return # Cancel, the box's one button
told_not_recorded
question_then_quit "$BUSY"
let_go
unchanged
shown NameEntry && fail "cancel: the name was asked after Cancel"
echo "cancel: nothing recorded, and the game said so"

# ===== freed: a new hold while the name is asked; freeing it closes the box by itself =====
start_round freed
clear_level
name_asked
hold
RETURNED_AT=$(now_ms)
xdotool key Return
busy_box_shows "$RETURNED_AT"
let_go
wait_until 30 "freed: the game did not take the busy box down once the lock was free" withdrawn "$BUSY"
wait_until 30 "freed: the busy box's window did not close" no_box
wait_until 30 "freed: no score list after the record" shown ScoreList "$BUSY"
read -r score name < <(first_entry "$SCORES")
[ "$name" = "Default User" ] && [ "$score" -gt 0 ] || fail "freed: rank 1 holds \"$name\" $score"
[ "$SHOWN_TEXT" = "$name $score" ] || fail "freed: the list's first row is \"$SHOWN_TEXT\", the file's \"$name\" $score"
LIST=$(timeout 30 xdotool search --sync --onlyvisible --name "排名" 2>/dev/null | head -n1) || true
[ -n "$LIST" ] || fail "freed: the score list's window did not show"
wait_until 30 "freed: the score list did not take the keyboard" focused "$LIST"
xdotool key Return
question_then_quit "$SHOWN_ID"
echo "freed: the box closed by itself and \"$name\" $score was recorded"

# ===== esc: Esc in the window while the lock is waited for, before the box =====
# esc_round: false when the box came before Esc reached the game: the game waits a second, and
# a machine too loaded to press Esc within it has not tried what is tested; the round is then
# run again, at most three times.
esc_round() {
    local deadline
    start_round esc
    clear_level
    name_asked
    hold
    RETURNED_AT=$(now_ms)
    xdotool key Return
    # The window has the keyboard again once the name entry has gone.
    deadline=$((SECONDS + 30))
    until focused "$WID"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "esc: the name entry did not give the keyboard back to the window"
        sleep 0.02
    done
    xdotool key Escape
    ESC_AFTER=$(($(now_ms) - RETURNED_AT))
    ended_or_box() { ! kill -0 "$GAME_PID" 2>/dev/null || shown ScoreBusy; }
    wait_until 30 "esc: Esc while the lock was waited for did not end the game" ended_or_box
    if shown ScoreBusy; then
        echo "esc: the busy box came before Esc, pressed $ESC_AFTER ms after Return: once more"
        kill "$GAME_PID"
        wait "$GAME_PID" 2>/dev/null || true
        GAME_PID=""
        let_go
        return 1
    fi
    wait_exit 30
    [ "$EXIT_CODE" = 0 ] || fail "esc: Esc while the lock was waited for gave exit code $EXIT_CODE"
    logged terminate 0 || fail "esc: the game did not end by its own Esc"
    let_go
    unchanged
    echo "esc: Esc $ESC_AFTER ms after Return ended the program with exit code 0, before the box; nothing recorded"
}
for try in 1 2 3; do
    esc_round && break
    [ "$try" != 3 ] || fail "esc: three times the busy box came before Esc reached the game"
done

# ===== stopped: a holder stopped with SIGSTOP keeps the box up and the window drawing =====
start_round stopped
clear_level
name_asked
hold
kill -STOP -- "-$HOLDER"
RETURNED_AT=$(now_ms)
xdotool key Return
busy_box_shows "$RETURNED_AT"
BUSY_AT=$(now_ms)
window_draws
# Still up a while later: the game keeps trying a lock that never comes free.
up_a_while() {
    withdrawn "$BUSY" && fail "stopped: the busy box went while the holder was stopped"
    box_window || fail "stopped: the busy box's window went"
    SEEN="$(($(now_ms) - BUSY_AT)) ms"
    [ $(($(now_ms) - BUSY_AT)) -ge 3000 ]
}
wait_until 30 "stopped: the box did not stay" up_a_while
kill -0 "$GAME_PID" 2>/dev/null || fail "stopped: the game ended"
xdotool key Escape # Cancel
told_not_recorded
question_then_quit "$BUSY"
shown ScoreList && fail "stopped: a score list showed after Cancel"
let_go
unchanged
echo "stopped: the box stayed up until Cancel, nothing recorded"
echo "PASS"
