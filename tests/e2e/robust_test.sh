#!/usr/bin/env bash
# robust_test.sh: the real program against a hostile machine. Signals: SIGHUP and SIGQUIT are
# close requests that save the switches; SIGUSR1 ends the game at once, and nothing is lost, as
# each switch is saved when it changes; SIGTERM closes an open message box and goes on with the
# close; SIGKILL takes the box with the game; losing the X server loses no switch either. Files: a FIFO and a link where the launcher copies the link files. Store: a save
# onto a full disk is told in a box, the old game kept, the lost switches reported at exit.
# Usage: robust_test.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_init robust "$1"
# Every fault provoked here is told in our own words; library chatter is still refused.
E2E_STDERR_ALLOWED="^ranqua: "

# e2e_box_open: until a message box is mapped; HELPER is then the session of the helper process
# that shows it (it leads a session of its own, so whatever it starts is found through it).
e2e_box_open() {
    local start=$SECONDS
    HELPER=""
    until [ -n "$HELPER" ] && xwininfo -root -tree 2>/dev/null | grep -q '"Ranqua"'; do
        [ $((SECONDS - start)) -lt 30 ] || e2e_fail "no message box appeared"
        HELPER=$(pgrep -P "$E2E_PROGRAM_PID" | head -n 1 || true)
        sleep 0.2
    done
}
e2e_helpers() { pgrep -s "$HELPER" || true; }

# ---- files the launcher finds in the player's Internet folder ----------------------------
mkdir -p "$E2E_GAMEDIR/Internet"
echo "not the link list" >"$E2E_TMP/victim"
ln -s "$E2E_TMP/victim" "$E2E_GAMEDIR/Internet/internet.txt"
mkfifo "$E2E_GAMEDIR/Internet/sdl.jpg"

# ---- signals: a close request, or (SIGUSR1, like SIGUSR2 and SIGALRM) the end at once; ----
# ---- either way the switch changed in this run is saved ----------------------------------
for sig in HUP QUIT USR1; do
  e2e_start_game
  e2e_wait_idle
  e2e_click_button music
  e2e_wait_idle
  e2e_log "SIG$sig to pid $E2E_PROGRAM_PID"
  kill -"$sig" "$E2E_PROGRAM_PID"
  if [ $sig = USR1 ]; then
    rc=0
    wait "$E2E_GAME_PID" || rc=$?
    E2E_GAME_PID=""
    [ $rc -eq $((128 + $(kill -l USR1))) ] || e2e_fail "SIGUSR1 ended the program with code $rc"
  else
    e2e_wait_exit
  fi
  e2e_expect_text PlayMusic "$([ $sig = QUIT ] && echo On || echo Off)"
done
[ "$(cat "$E2E_TMP/victim")" = "not the link list" ] || e2e_fail "the launcher wrote through a link"
[ -f "$E2E_GAMEDIR/Internet/internet.txt" ] && [ ! -L "$E2E_GAMEDIR/Internet/internet.txt" ] ||
  e2e_fail "internet.txt was not replaced by a copy"
[ -f "$E2E_GAMEDIR/Internet/sdl.jpg" ] || e2e_fail "the FIFO was not replaced by a copy"

# ---- a save onto a full disk is told; SIGTERM then still closes, and says what it lost ----
e2e_start_game
e2e_wait_idle
# As root a small full tmpfs is a real full disk; elsewhere (or where mounting is not allowed)
# a folder stands in the file's way.
conf_dir=$(dirname "$E2E_CONF")
reason="Is a directory"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=64k tmpfs "$conf_dir" 2>/dev/null; then
  # Unmounted again on the way out, keeping the test's own exit status for the cleanup.
  trap 'rc=$?; set +e; umount "$E2E_HOME/.config/Brindlewood/Quorvale/Marbalo" 2>/dev/null; (exit $rc); e2e_cleanup' EXIT
  printf 'Game="kept"\n' >"$E2E_CONF"
  dd if=/dev/zero of="$conf_dir/filler" bs=4k 2>/dev/null || true
  reason="No space left on device"
else
  rm -rf "$E2E_CONF" && mkdir -p "$E2E_CONF"
fi
before=$(cat "$E2E_CONF" 2>/dev/null || echo -)
e2e_click_button new
e2e_wait_idle
e2e_click_button save
start=$SECONDS
until grep -qF "The game could not be saved: $reason" "$E2E_TMP/game.err"; do
  [ $((SECONDS - start)) -lt 30 ] || e2e_fail "the failed save was not told"
  sleep 0.2
done
e2e_box_open
e2e_shot save-failed
[ "$(cat "$E2E_CONF" 2>/dev/null || echo -)" = "$before" ] || e2e_fail "the old saved game changed"
# A close request while the box is open closes the box and goes on with the close.
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
[ -z "$(e2e_helpers)" ] || e2e_fail "the message box outlived the game"
grep -q "switches could not be saved" "$E2E_TMP/game.err" ||
  e2e_fail "the failed switch write at exit was not reported"
umount "$conf_dir" 2>/dev/null || rm -rf "$E2E_CONF"

# ---- killed outright while a box is open: the box goes with the game -------------------
e2e_start_game
e2e_wait_idle
rm -rf "$E2E_CONF" && mkdir -p "$E2E_CONF"
e2e_click_button new
e2e_wait_idle
e2e_click_button save
e2e_box_open
kill -KILL "$E2E_PROGRAM_PID"
wait "$E2E_GAME_PID" 2>/dev/null || true
E2E_GAME_PID=""
start=$SECONDS
while [ -n "$(e2e_helpers)" ]; do
  [ $((SECONDS - start)) -lt 10 ] || e2e_fail "the message box outlived the killed game"
  sleep 0.1
done
rm -rf "$E2E_CONF"

# ---- the X server dies: the switches are written before the program ends ----------------
e2e_start_game
e2e_wait_idle
e2e_click_button music
e2e_wait_idle
kill -KILL "$E2E_XVFB_PID"
wait "$E2E_XVFB_PID" 2>/dev/null || true
E2E_XVFB_PID=""
start=$SECONDS
while e2e_running "$E2E_PROGRAM_PID"; do
  [ $((SECONDS - start)) -lt 30 ] || e2e_fail "the program outlived its display"
  sleep 0.1
done
wait "$E2E_GAME_PID" 2>/dev/null || true
E2E_GAME_PID=""
grep -q "connection to the display was lost" "$E2E_TMP/game.err" ||
  e2e_fail "no clear message on losing the display"
e2e_expect_text PlayMusic Off
e2e_log "PASS"
