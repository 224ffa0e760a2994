#!/usr/bin/env bash
# install_test.sh: installs into an empty prefix and validates the desktop files; then, with an
# empty HOME, starts the game through the desktop entry's command, plays MP3 files put where the
# README says, starts a game, turns sound off, leaves by the menu, and finds the switch
# remembered at the next start.
# Usage: install_test.sh BUILD_DIR
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init install "$1"
prefix=$E2E_TMP/prefix

cmake --install "$E2E_BUILD" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/net.ranqua.Ranqua.desktop" ||
  e2e_fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/net.ranqua.Ranqua.metainfo.xml" \
  >/dev/null || e2e_fail "metainfo"
for f in bin/ranqua libexec/ranqua/ranqua share/man/man6/ranqua.6 \
         share/icons/hicolor/48x48/apps/ranqua.png share/icons/hicolor/128x128/apps/ranqua.png \
         share/icons/hicolor/256x256/apps/ranqua.png share/icons/hicolor/scalable/apps/ranqua.svg \
         share/ranqua/Internet/internet.txt; do
  [ -e "$prefix/$f" ] || e2e_fail "missing after install: $f"
done
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/net.ranqua.Ranqua.desktop")
[ "$exec_line" = ranqua ] || e2e_fail "unexpected Exec line: $exec_line"

# The desktop entry's command, found through PATH as a desktop would find it.
E2E_LAUNCHER=$prefix/bin/$exec_line
E2E_PROGRAM=$(realpath "$prefix/libexec/ranqua/ranqua")
# Under the sanitizers: X and audio libraries that SDL loads at run time are unloaded before
# the leak check, so their allocations cannot be told apart; the in-process tests keep it.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The music folder the README names, filled before the first start.
mkdir -p "$E2E_MUSICDIR"
sox -n -r 11025 -c 2 -b 16 -e signed-integer "$E2E_TMP/tone.wav" synth 2 sine 330
lame --silent "$E2E_TMP/tone.wav" "$E2E_MUSICDIR/first tone.mp3"
track=$(realpath "$E2E_MUSICDIR/first tone.mp3")

e2e_start_game
[ -d "$E2E_GAMEDIR/Internet" ] && [ -f "$E2E_GAMEDIR/Internet/internet.txt" ] ||
  e2e_fail "the game folder was not prepared"
e2e_wait_open "$track"
e2e_wait_idle
e2e_click_button new
e2e_wait_idle
e2e_click_button sound
e2e_wait_idle
e2e_shot playing
e2e_click_button exit
e2e_wait_exit
e2e_expect_text SoundEffect Off
e2e_expect_text PlayMusic On

# The next start remembers the switch; a close request leaves the same way.
e2e_start_game
e2e_wait_idle
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
e2e_expect_text SoundEffect Off
e2e_log "passed"
