#!/usr/bin/env bash
# music_test.sh: the music folder's MP3 is opened while the music switch is on, the two
# switches are stored at exit and read at the next start, a run with no usable sound device
# still starts and ends cleanly, a FIFO among the tracks does not stop the game, a track
# that ends is followed by another, and two gigabytes that are not music are refused unread
# under a memory limit.
# Usage: music_test.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
e2e_init music "$1"
for tool in sox lame; do command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool"; done

mkdir -p "$E2E_MUSICDIR"
sox -n -r 11025 -c 2 -b 16 -e signed-integer "$E2E_TMP/tone.wav" synth 1 sine 440
lame --silent "$E2E_TMP/tone.wav" "$E2E_MUSICDIR/tone.mp3"
track=$(realpath "$E2E_MUSICDIR/tone.mp3")

# ---- first run: music on by default; sound switched off -------------------------------
e2e_start_game
e2e_wait_open "$track"
e2e_wait_idle
e2e_shot 1-start
e2e_click_button sound
e2e_wait_idle
e2e_shot 2-sound-off
e2e_click_button exit
e2e_wait_exit
e2e_expect_text SoundEffect Off
e2e_expect_text PlayMusic On

# ---- no sound device: starts, plays a game silently, ends cleanly ----------------------
e2e_start_game SDL_AUDIODRIVER=nonexistent
e2e_wait_idle
e2e_click_button new
e2e_wait_idle
e2e_shot 3-no-audio-new-game
e2e_click_button sound
e2e_wait_idle
e2e_click_button exit
e2e_wait_exit
e2e_expect_text SoundEffect On
e2e_expect_text PlayMusic On

# ---- music switched off, then a start with it off: nothing opens until it comes on -----
e2e_start_game
e2e_wait_open "$track"
e2e_wait_idle
e2e_click_button music
e2e_wait_idle
e2e_click_button exit
e2e_wait_exit
e2e_expect_text PlayMusic Off

e2e_start_game
e2e_wait_idle
e2e_holds_open "$track" && e2e_fail "the music file was opened although the stored switch is Off"
e2e_click_button music
e2e_wait_open "$track"
e2e_wait_idle
e2e_click_button exit
e2e_wait_exit
e2e_expect_text SoundEffect On
e2e_expect_text PlayMusic On

# ---- a FIFO named like a track is passed over; a track that ends is followed by another -----
# One short track, a link whose target changes while it plays: when the game opens the link
# again, it has gone on to the next track.
sox -n -r 11025 -c 2 -b 16 -e signed-integer "$E2E_TMP/other.wav" synth 1 sine 660
lame --silent "$E2E_TMP/other.wav" "$E2E_TMP/other.mp3"
mv "$E2E_MUSICDIR/tone.mp3" "$E2E_TMP/tone.mp3"
first=$(realpath "$E2E_TMP/tone.mp3")
other=$(realpath "$E2E_TMP/other.mp3")
mkfifo "$E2E_MUSICDIR/a-fifo.mp3"
ln -s "$first" "$E2E_MUSICDIR/song.mp3"
e2e_start_game
e2e_wait_open "$first"
ln -sfn "$other" "$E2E_MUSICDIR/song.mp3"
e2e_wait_open "$other"
e2e_wait_idle
e2e_click_button exit
e2e_wait_exit

# ---- two gigabytes that are not music, the only track, under a memory limit -------------
# The decoder gives up within the first megabytes: the game starts at once, plays silently
# and ends as with any broken track. Read whole, the file froze start-up for seconds and,
# under this limit, crashed the game at every start.
rm -f "$E2E_MUSICDIR"/*.mp3
truncate -s 2G "$E2E_MUSICDIR/huge.mp3"
launcher=${E2E_LAUNCHER:-$E2E_BUILD/ranqua-launch}
# A sanitizer build reserves terabytes of address space for itself: no limit there.
case $(sed -n 's/^RANQUA_SANITIZE:[A-Z]*=//p' "$E2E_BUILD/CMakeCache.txt") in
  "" | OFF | off | 0 | FALSE | NO)
    printf '#!/bin/sh\nulimit -v 1500000\nexec "%s" "$@"\n' "$launcher" >"$E2E_TMP/limited"
    chmod +x "$E2E_TMP/limited"
    E2E_LAUNCHER=$E2E_TMP/limited ;;
esac
e2e_start_game
e2e_wait_idle
e2e_click_button new
e2e_wait_idle
e2e_shot 4-huge-track
read_bytes=$(sed -n 's/^rchar: //p' "/proc/$E2E_PROGRAM_PID/io")
e2e_log "the program read $read_bytes bytes"
[ "$read_bytes" -lt $((64 << 20)) ] || e2e_fail "the program read $read_bytes bytes"
e2e_click_button exit
e2e_wait_exit
E2E_LAUNCHER=$launcher
e2e_log "PASS"
