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

# ---- the installed launcher against odd homes and folders ---------------------------------
# A copy of the install whose program is a stand-in that records where and how it was started.
fake=$E2E_TMP/fake
cp -a "$prefix" "$fake"
cat >"$fake/libexec/ranqua/ranqua" <<'EOF'
#!/bin/sh
printf '%s\0' "$PWD" "$HOME" "$@" >"$RANQUA_RECORD"
EOF
mkdir "$E2E_TMP/fullbin"
cat >"$E2E_TMP/fullbin/cp" <<'EOF'
#!/bin/sh
# cp on a full disk: the copy is made, but nothing fits into it.
for last; do :; done
: >"$last"
echo "cp: error writing '$last': No space left on device" >&2
exit 1
EOF
chmod +x "$E2E_TMP/fullbin/cp"
pwhome=$(getent passwd "$(id -u)" | cut -d: -f6)
data=$prefix/share/ranqua

# launcher_case NAME SETUP ENV STDERR CHECK: in a fresh home SETUP runs, then the launcher with
# ENV (words for env), from an empty folder, with options meant for the program. The stand-in
# must start in the game folder (or in WANT_CWD) with the options unchanged, nothing may appear
# in the start folder, stderr must hold our own lines only, one matching STDERR (or be empty),
# and CHECK must hold.
launcher_case() {
  local c=$E2E_TMP/case home dh game music want_cwd rec=()
  rm -rf "$c" && mkdir -p "$c/start" "$c/home"
  home=$c/home dh=$c/home/.local/share
  game=$dh/ranqua/game music=$dh/ranqua/MUSIC/GAME want_cwd=""
  eval "$2" || e2e_fail "$1: the set-up failed"
  game=$dh/ranqua/game music=$dh/ranqua/MUSIC/GAME
  (cd "$c/start" && eval "timeout -s KILL 20 env -u XDG_DATA_HOME HOME=\"\$home\" LC_ALL=C $3 \
    RANQUA_RECORD=\"\$c/record\" \"\$fake/bin/ranqua\" -x --window 'two  words'" \
    >"$c/out" 2>"$c/err") || e2e_fail "$1: the launcher failed: $(cat "$c/err")"
  [ -f "$c/record" ] && mapfile -d '' rec <"$c/record" || e2e_fail "$1: the game was not started"
  [ "${rec[0]}" = "${want_cwd:-$game}" ] || e2e_fail "$1: started in ${rec[0]}"
  [ "${rec[*]:2}" = "-x --window two  words" ] && [ ${#rec[@]} -eq 5 ] ||
    e2e_fail "$1: the options changed: ${rec[*]:2}"
  [ -z "$(ls -A "$c/start")" ] || e2e_fail "$1: wrote into the start folder"
  ! grep -qv '^ranqua: ' "$c/err" || e2e_fail "$1: stderr: $(cat "$c/err")"
  if [ -n "$4" ]; then grep -qE "$4" "$c/err"; else [ ! -s "$c/err" ]; fi ||
    e2e_fail "$1: stderr is not what it should be: $(cat "$c/err")"
  eval "$5" || e2e_fail "$1: $5"
}
same() { cmp -s "$data/Internet/internet.txt" "$game/Internet/internet.txt"; }
launcher_case plain '' '' '' 'same && [ "${rec[1]}" = "$home" ] && [ -d "$music" ]'
launcher_case "relative data home" '' "XDG_DATA_HOME='rel data'" \
  '^ranqua: ignoring XDG_DATA_HOME=rel data: not an absolute path$' same
launcher_case "data home -n" '' XDG_DATA_HOME=-n 'ignoring XDG_DATA_HOME=-n' same
launcher_case "odd data home" "dh=\$c/'-da ta'\$'\\n''x'" 'XDG_DATA_HOME="$dh"' '' same
launcher_case "no HOME" '' 'env -u HOME XDG_DATA_HOME="$dh"' '' '[ "${rec[1]}" = "$pwhome" ]'
launcher_case "relative HOME" '' 'HOME=rel XDG_DATA_HOME="$dh"' 'ignoring HOME=rel' \
  '[ "${rec[1]}" = "$pwhome" ]'
launcher_case "full disk" 'mkdir -p "$game/Internet" && echo old >"$game/Internet/internet.txt"' \
  'PATH="$E2E_TMP/fullbin:$PATH"' \
  'cannot refresh .*/internet.txt: No space left on device; keeping the old copy' \
  '[ "$(cat "$game/Internet/internet.txt")" = old ] &&
   [ "$(ls -A "$game/Internet")" = internet.txt ]'
launcher_case "linked Internet" 'mkdir -p "$game" "$c/o" && echo mine >"$c/o/internet.txt" &&
  ln -s "$c/o" "$game/Internet"' '' 'replacing .*/game/Internet \(a link or a file\)' \
  'same && [ ! -L "$game/Internet" ] && [ "$(ls "$c/o")" = internet.txt ] &&
   [ "$(cat "$c/o/internet.txt")" = mine ]'
launcher_case "linked game folder" 'mkdir -p "$c/o" "$dh/ranqua" && ln -s "$c/o" "$game"' '' \
  'replacing .*/game \(a link' 'same && [ ! -L "$game" ] && [ -z "$(ls -A "$c/o")" ]'
launcher_case "game folder a file" 'mkdir -p "$dh/ranqua" && : >"$game"' '' 'replacing' same
launcher_case "entries in the way" 'mkdir -p "$game/Internet" "$c/o" &&
  ln -s "$c/o" "$game/Internet/internet.txt" && mkfifo "$game/Internet/internet.txt.new"' '' '' \
  'same && [ ! -L "$game/Internet/internet.txt" ] && [ -z "$(ls -A "$c/o")" ] &&
   [ ! -e "$game/Internet/internet.txt.new" ]'
launcher_case "music on a drive not mounted" 'mkdir -p "${music%/*}" &&
  ln -s "$c/drive/music" "$music"' '' \
  'music folder .*/MUSIC/GAME leads to .*/drive/music, which is missing; playing without music' \
  'same && [ -L "$music" ]'
launcher_case "music folder a file" 'mkdir -p "${music%/*}" && : >"$music"' '' \
  'music folder .* is not a folder; playing without music' '[ -f "$music" ]'
launcher_case "music folder a link to a FIFO" 'mkdir -p "${music%/*}" && mkfifo "$c/fifo" &&
  ln -s "$c/fifo" "$music"' '' 'music folder .* is not a folder; playing without music' \
  '[ -p "$music" ]'
launcher_case "stderr into a pipe nobody reads" 'mkdir -p "${music%/*}" && : >"$music"' \
  "env --default-signal=PIPE bash -c 'exec 2> >(exec true); wait \$! || true; exec env \"\$@\"' -" \
  '' '[ -f "$music" ]'
launcher_case "MUSIC a file" 'mkdir -p "$dh/ranqua" && : >"$dh/ranqua/MUSIC"' '' \
  'cannot make the music folder .*: Not a directory; playing without music' same
launcher_case "no game folder possible" 'mkdir -p "$home/.local" && : >"$dh" && want_cwd=/' '' \
  'cannot prepare the game folder .*: Not a directory; starting without links and music' true
e2e_log "the launcher passed every odd case"

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
