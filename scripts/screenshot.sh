#!/usr/bin/env bash
# screenshot.sh: the README's picture. Builds the game if needed, runs it under a private X
# server at 1280 x 800 with an empty HOME, starts a game, plays a few moves, and writes
# docs/screenshot.png.
# Usage: scripts/screenshot.sh [MOVES]   (6 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
moves=${1:-6}
source scripts/setup.sh
ranqua_install_packages test
ranqua_build_to_play build

E2E_SCREEN=1280x800
source tests/e2e/lib.sh
e2e_init screenshot build
board() { python3 "$E2E_DIR/board.py" "$@"; }

e2e_start_game
e2e_wait_idle
e2e_click_button new
e2e_wait_idle
# Each move is planned from the saved game, the only place the board can be read from outside.
last=-
for _ in $(seq "$moves"); do
  e2e_click_button save
  last=$(e2e_wait_value_change Game "$last")
  move=$(board plan "$last")
  [ -n "$move" ] || break
  read -r fc fr tc tr <<<"$move"
  e2e_click_cell "$fc" "$fr"
  e2e_wait_idle
  e2e_click_cell "$tc" "$tr"
  e2e_wait_idle
done
# Away from the board, so that no button shows its hover state.
xdotool mousemove 5 5
e2e_wait_idle
mkdir -p docs
import -window root docs/screenshot.png
e2e_click_button exit
e2e_wait_exit
e2e_log "wrote docs/screenshot.png"
