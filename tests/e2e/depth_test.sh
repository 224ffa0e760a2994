#!/usr/bin/env bash
# depth_test.sh: the game draws on 16-, 24- and 30-bit screens: the border's dark fill and the
# background picture reach the screen, and the menu's Exit still ends it. On a screen of 8-bit
# colour maps alone it cannot draw, says so and ends with code 1.
# Usage: depth_test.sh BUILD_DIR [DEPTH]
if [ $# -lt 2 ]; then
    for depth in 16 24 30 8; do
        E2E_DEPTH=$depth bash "$0" "$1" "$depth" || exit 1
    done
    exit 0
fi
# A wide screen, so that a border shows beside the play area.
export E2E_SCREEN=${E2E_SCREEN:-1366x768}
source "$(dirname "$0")/lib.sh"
e2e_init "depth$2" "$1"

# pixel X Y: the screenshot's colour there as "R G B", 8 bits each.
pixel() {
    convert "$E2E_SHOTS/$E2E_NAME-screen.png" -crop "1x1+$1+$2" +repage -depth 8 rgb:- |
        od -An -tu1 | xargs
}
# near "R G B" R G B: each channel within 8 (a 16-bit screen keeps 5 or 6 bits).
near() {
    python3 -c 'import sys; g=list(map(int, sys.argv[1].split())); w=list(map(int, sys.argv[2:]))
sys.exit(0 if all(abs(a - b) <= 8 for a, b in zip(g, w)) else 1)' "$@"
}

if [ "$2" = 8 ]; then
    rc=0
    env -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER HOME="$E2E_HOME" timeout -s KILL 30 \
        "$E2E_BUILD/ranqua-launch" >/dev/null 2>"$E2E_TMP/game.err" || rc=$?
    [ $rc -eq 1 ] || e2e_fail "on an 8-bit screen the program ended with code $rc, not 1"
    grep -q '^ranqua: cannot draw on this display: ' "$E2E_TMP/game.err" ||
        e2e_fail "the program did not say it cannot draw: $(cat "$E2E_TMP/game.err")"
    E2E_STDERR_ALLOWED='^ranqua: cannot draw on this display: ' e2e_expect_quiet_stderr
    e2e_log "depth 8: code 1, $(grep "cannot draw" "$E2E_TMP/game.err")"
    e2e_log "PASS"
    exit 0
fi

e2e_start_game
e2e_wait_idle
e2e_shot screen
corner=$(pixel 1 1)
near "$corner" $LAYOUT_BORDER_COLOUR || e2e_fail "the screen's corner shows ($corner), not the dark border"
middle=$(pixel $((E2E_W / 2)) $((E2E_H / 2)))
[ "$middle" != "0 0 0" ] && ! near "$middle" $LAYOUT_BORDER_COLOUR ||
    e2e_fail "the play area shows ($middle): the background did not reach the screen"
e2e_log "depth $2: corner ($corner), middle ($middle)"
e2e_click_button exit
e2e_wait_exit
e2e_log "PASS"
