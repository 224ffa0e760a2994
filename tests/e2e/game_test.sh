#!/usr/bin/env bash
# game_test.sh: the command line's usage, version and refusals; then a real game under a
# private X server: new game, save, one move, save, help, exit from the menu; a second run
# ended by a close request (SIGTERM); a game played to a full board, which enters the best
# games, and F2 shows them; a run in a window of its own (F11), resized, with a move made in
# it; and one that comes back in that window.
# Usage: game_test.sh BUILD_DIR (E2E_SCREEN=1920x1080 plays it on a larger screen)
source "$(dirname "$0")/lib.sh"
e2e_init game "$1"
board() { python3 "$E2E_DIR/board.py" "$@"; }

# ---- the command line: usage and version open nothing and touch nothing ----------------
# Without DISPLAY: a program that tried to open the display would fail.
launch() { env -u DISPLAY HOME="$E2E_HOME" timeout -s KILL 20 "${E2E_LAUNCHER:-$E2E_BUILD/ranqua-launch}" "$@"; }
usage=$(launch --help) || e2e_fail "--help ended with an error"
for word in --fullscreen --window F11 F2 Ctrl+N Ranqua.conf ranqua/scores MUSIC/GAME internet.txt; do
  grep -qF -- "$word" <<<"$usage" || e2e_fail "--help does not mention $word"
done
version=$(sed -n '1s/^ranqua (\([^)]*\)).*/\1/p' "$E2E_DIR/../../debian/changelog")
[ "$(launch --version)" = "ranqua $version" ] || e2e_fail "--version does not say ranqua $version"
[ -z "$(ls -A "$E2E_HOME")" ] || e2e_fail "--help or --version wrote into the home folder"
for bad in --bogus --window=640x480 1000x750; do
  rc=0
  said=$(launch "$bad" 2>&1 >/dev/null) || rc=$?
  [ $rc -eq 2 ] && [ "$(wc -l <<<"$said")" -eq 1 ] && [[ $said == "ranqua: "* ]] ||
    e2e_fail "'$bad' gave code $rc and '$said', expected code 2 and one line"
done
[ ! -e "$E2E_HOME/.config" ] || e2e_fail "a refused option touched the settings"

# ---- first run: play one move and leave by the menu ----------------------------------
e2e_start_game
e2e_wait_idle
e2e_shot 1-start
[ "$(e2e_value Game)" = "-" ] || e2e_fail "a fresh home already holds a saved game"

# Save before any game does nothing.
e2e_click_button save
e2e_wait_idle
[ "$(e2e_value Game)" = "-" ] || e2e_fail "Save with no game in progress wrote a game"

e2e_click_button new
e2e_wait_idle
e2e_shot 2-new-game

e2e_click_button save
first=$(e2e_wait_value_change Game -)
board check "$first" || e2e_fail "the first saved game is not a valid record"
e2e_log "after New game:"
board show "$first"
balls=$(python3 -c 'import sys; r=bytes.fromhex(sys.argv[1]); print(sum(1 for b in r[:int(sys.argv[2])] if b != 32))' \
    "$first" $((LAYOUT_COLUMNS * LAYOUT_ROWS)))
[ "$balls" -eq 4 ] || e2e_fail "a new game shows $balls balls, expected 4"
[ "${first: -8}" = "20202020" ] || e2e_fail "a new game's score is not 0"
e2e_wait_idle
e2e_shot 3-saved-banner

read -r fc fr tc tr <<<"$(board plan "$first")"
e2e_log "moving the ball at ($fc,$fr) to ($tc,$tr)"
e2e_click_cell "$fc" "$fr"
e2e_wait_idle
e2e_shot 4-selected
e2e_click_cell "$tc" "$tr"
e2e_wait_idle
e2e_shot 5-moved

e2e_click_button save
second=$(e2e_wait_value_change Game "$first")
board check "$second" || e2e_fail "the second saved game is not a valid record"
e2e_log "after the move:"
board show "$second"
board check-move "$first" "$second" "$fc" "$fr" "$tc" "$tr" || e2e_fail "the saved board does not follow from the move"
e2e_wait_idle

# Help comes in over the play area and the next press anywhere takes it away again.
before_help=$(e2e_screen_hash)
e2e_click_button help
e2e_wait_idle
e2e_shot 6-help
[ "$(e2e_screen_hash)" != "$before_help" ] || e2e_fail "the help screen did not appear"
e2e_click_at 50 300
e2e_wait_idle
e2e_shot 7-help-closed

e2e_click_button exit
e2e_wait_exit
[ "$(e2e_value Game)" = "$second" ] || e2e_fail "leaving changed the saved game"
e2e_expect_text SoundEffect On
e2e_expect_text PlayMusic On

# ---- second run: the saved game comes back, then a close request ------------------------
e2e_start_game
e2e_wait_idle
e2e_click_button load
e2e_wait_idle
e2e_shot 8-loaded
# The music switch goes off, so the close must write what the run holds, not what it read.
e2e_click_button music
e2e_wait_idle
stamp=$(e2e_conf_stamp)
e2e_click_button save
e2e_wait_conf_write "$stamp"
[ "$(e2e_value Game)" = "$second" ] || e2e_fail "Load then Save did not give back the same game"
e2e_log "close request to pid $E2E_PROGRAM_PID"
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
e2e_expect_text SoundEffect On
e2e_expect_text PlayMusic Off
[ "$(e2e_value Game)" = "$second" ] || e2e_fail "the close request changed the saved game"

# ---- third run: a game played to its end enters the best games; F2 shows them ----------
# The saved game is one move from a full board, 164 points: loaded, the ball beside the gap
# goes into it and the one new ball can only fill the cell it left, whatever the seed.
scores=$E2E_HOME/.local/share/ranqua/scores
[ ! -e "$scores" ] || e2e_fail "games left unfinished wrote the best games"
board put-last-move "$E2E_CONF" 164
e2e_start_game
e2e_wait_idle
e2e_click_button load
e2e_wait_idle
e2e_click_cell 5 5
e2e_wait_idle
before_day=$(date +%F)
e2e_click_cell 6 5
start=$SECONDS
until [ -s "$scores" ]; do
  [ $((SECONDS - start)) -lt 30 ] || e2e_fail "the finished game wrote no best games"
  sleep 0.2
done
entry=$(cat "$scores")
e2e_log "best games: $entry"
[ "$entry" = "164 $before_day 2" ] || [ "$entry" = "164 $(date +%F) 2" ] ||
  e2e_fail "the best games hold '$entry', expected '164 $before_day 2'"
e2e_shot 9-game-over
# NEW BEST SCORE follows once GAME OVER has been readable for a while (the unit tests time it).
sleep 2.5
e2e_wait_idle
e2e_shot 10-new-best
before_best=$(e2e_screen_hash)
xdotool key F2
e2e_wait_idle
e2e_shot 11-best-games
[ "$(e2e_screen_hash)" != "$before_best" ] || e2e_fail "F2 did not show the best games"
xdotool key Escape
e2e_wait_idle
[ "$(e2e_screen_hash)" = "$before_best" ] || e2e_fail "Escape did not give back the screen"
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
[ "$(cat "$scores")" = "$entry" ] || e2e_fail "leaving changed the best games"

# ---- fourth run: F11 gives a window of its own, resized during a transition; a move made in
# it is saved as the rules say ----------------------------------------------------------------
# e2e_wait_window COMPARISON: until the window's size passes the test (WIDTH, HEIGHT are set).
e2e_wait_window() {
  local start=$SECONDS WINDOW X Y SCREEN
  while :; do
    eval "$(xdotool getwindowgeometry --shell "$(e2e_window_id)")"
    eval "$1" && return 0
    [ $((SECONDS - start)) -lt 20 ] || e2e_fail "the window is ${WIDTH}x$HEIGHT, not as expected ($1)"
    sleep 0.1
  done
}
# e2e_pixel X Y: the screen's colour there, as #RRGGBB.
e2e_pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
border=$(read -r r g b <<<"$LAYOUT_BORDER_COLOUR"; printf "#%02X%02X%02X" "$r" "$g" "$b")

e2e_start_game
e2e_wait_idle
id=$(e2e_window_id)
class=$(xprop -id "$id" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "net.ranqua.Ranqua", "net.ranqua.Ranqua"' ] ||
  e2e_fail "the window's class: $class"
xdotool key F11
e2e_wait_window '[ "$WIDTH" -lt "$E2E_W" ] && [ "$HEIGHT" -lt "$E2E_H" ]'
e2e_log "F11: a window of ${WIDTH}x$HEIGHT"
e2e_in_window
e2e_wait_idle
e2e_click_button new
xdotool windowsize "$id" 1000 750 # while the new board comes in
e2e_wait_window '[ "$WIDTH" -eq 1000 ] && [ "$HEIGHT" -eq 750 ]'
e2e_in_window
e2e_wait_idle
e2e_shot 12-window
# 1000 x 750 is 1.25 times the play area: it fills the window, with no border in it.
for corner in "$E2E_BX $E2E_BY" "$((E2E_BX + 999)) $((E2E_BY + 749))"; do
  # shellcheck disable=SC2086
  [ "$(e2e_pixel $corner)" != "$border" ] || e2e_fail "the border shows at $corner in the window"
done
last=$(e2e_value Game)
e2e_click_button save
third=$(e2e_wait_value_change Game "$last")
board check "$third" || e2e_fail "the game saved in the window is not a valid record"
read -r fc fr tc tr <<<"$(board plan "$third")"
e2e_log "in the window: moving the ball at ($fc,$fr) to ($tc,$tr)"
e2e_click_cell "$fc" "$fr"
e2e_wait_idle
e2e_click_cell "$tc" "$tr"
e2e_wait_idle
e2e_shot 13-window-moved
e2e_click_button save
fourth=$(e2e_wait_value_change Game "$third")
board check-move "$third" "$fourth" "$fc" "$fr" "$tc" "$tr" ||
  e2e_fail "the move made in the window was not saved as the rules say"
e2e_click_button exit
e2e_wait_exit
e2e_expect_text FullScreen Off
e2e_expect_text WindowSize 1000x750

# ---- fifth run: the game comes back in its window, at its size -----------------------------
e2e_on_screen
e2e_start_game
e2e_wait_window '[ "$WIDTH" -eq 1000 ] && [ "$HEIGHT" -eq 750 ]'
e2e_in_window
e2e_wait_idle
e2e_shot 14-window-again
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
e2e_expect_text FullScreen Off
e2e_log "PASS"
