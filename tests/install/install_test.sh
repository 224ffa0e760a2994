#!/usr/bin/env bash
# install_test.sh: installs into an empty prefix and validates the desktop files; then, with an
# empty HOME, starts the game through the desktop entry's command, plays one of our own tracks
# (or, in a build without them, an MP3 put where the README says), starts a game, turns sound
# off, leaves by the menu, and finds the switch remembered at the next start, with the music
# folder left as the player made it.
# Usage: install_test.sh BUILD_DIR [SOUNDTRACK: ON or OFF]
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init install "$1"
soundtrack=${2:-ON}
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

if [ "$soundtrack" = ON ]; then
  tracks=("$prefix"/share/ranqua/music/*.mp3)
  [ ${#tracks[@]} -ge 4 ] && [ -f "${tracks[0]}" ] || e2e_fail "our tracks were not installed"
else
  # No tracks of our own in this build: the music folder the README names, filled first.
  mkdir -p "$E2E_MUSICDIR"
  sox -n -r 11025 -c 2 -b 16 -e signed-integer "$E2E_TMP/tone.wav" synth 2 sine 330
  lame --silent "$E2E_TMP/tone.wav" "$E2E_MUSICDIR/first tone.mp3"
  tracks=("$(realpath "$E2E_MUSICDIR/first tone.mp3")")
fi

# Whether the program holds one of the tracks open.
track_open() {
  local fd target t
  for fd in /proc/"$E2E_PROGRAM_PID"/fd/*; do
    target=$(readlink "$fd" 2>/dev/null) || continue
    for t in "${tracks[@]}"; do [ "$target" = "$(realpath "$t")" ] && return 0; done
  done
  return 1
}

e2e_start_game
[ -d "$E2E_GAMEDIR/Internet" ] && [ -f "$E2E_GAMEDIR/Internet/internet.txt" ] ||
  e2e_fail "the game folder was not prepared"
if [ "$soundtrack" = ON ]; then
  for t in "${tracks[@]}"; do
    [ "$(readlink -f "$E2E_MUSICDIR/$(basename "$t")")" = "$(realpath "$t")" ] ||
      e2e_fail "the first start did not link $(basename "$t")"
  done
fi
start=$SECONDS
until track_open; do
  [ $((SECONDS - start)) -lt 30 ] || e2e_fail "no track was ever opened"
  e2e_running "$E2E_PROGRAM_PID" || e2e_fail "the program ended"
  sleep 0.1
done
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

# The next start remembers the switch and leaves the music folder as the player made it: a
# removed track stays away, an added file stays; a close request leaves the same way.
removed=$(basename "${tracks[0]}")
rm -f "$E2E_MUSICDIR/$removed"
touch "$E2E_MUSICDIR/mine.mp3"
e2e_start_game
e2e_wait_idle
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit
e2e_expect_text SoundEffect Off
[ ! -e "$E2E_MUSICDIR/$removed" ] || e2e_fail "a removed track came back"
[ -f "$E2E_MUSICDIR/mine.mp3" ] || e2e_fail "the player's own file went away"
e2e_log "passed"
