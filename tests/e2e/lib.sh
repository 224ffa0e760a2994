# lib.sh: shared by the end-to-end tests: a private X server, the real program, clicks, waits.
#
# Usage in a test:  source lib.sh; e2e_init NAME BUILD_DIR; e2e_start_game; ...
# E2E_LAUNCHER and E2E_PROGRAM name another launcher and program (an installed game).
# E2E_SCREEN (1024x768) and E2E_DEPTH (24) choose the X screen.
# Every wait is bounded; a program that hangs is killed by `timeout -s KILL`.

set -euo pipefail

# Physical paths (pwd -P): /proc/PID/exe names the program without symbolic links.
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
E2E_SCREEN=${E2E_SCREEN:-1024x768}
E2E_DEPTH=${E2E_DEPTH:-24}
E2E_W=${E2E_SCREEN%x*}
E2E_H=${E2E_SCREEN#*x}
E2E_GAME_PID=""
E2E_XVFB_PID=""

# e2e_running PID: the process exists and has not ended (a zombie has ended).
e2e_running() {
    local state
    state=$(sed -n 's/^[0-9]* (.*) \([A-Za-z]\) .*/\1/p' "/proc/$1/stat" 2>/dev/null || true)
    [ -n "$state" ] && [ "$state" != Z ]
}

e2e_log() { printf '[%s %s] %s\n' "$E2E_NAME" "$(date +%T)" "$*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "${E2E_TMP:-}" ] && [ -s "$E2E_TMP/game.err" ]; then
        e2e_log "program's stderr (last lines):"
        tail -n 20 "$E2E_TMP/game.err" >&2 || true
    fi
    exit 1
}

# e2e_init NAME BUILD_DIR: temporary home, screenshot folder, a private X server.
e2e_init() {
    E2E_NAME=$1
    [ "$E2E_SCREEN" = 1024x768 ] || E2E_NAME=$E2E_NAME-$E2E_SCREEN
    E2E_BUILD=$(cd "$2" && pwd -P)
    [ -x "$E2E_BUILD/ranqua-launch" ] || e2e_fail "no $E2E_BUILD/ranqua-launch"
    # The play area's size, the board and the buttons, as the game has them (LAYOUT_*),
    # exported for board.py.
    [ -f "$E2E_BUILD/layout.sh" ] || e2e_fail "no $E2E_BUILD/layout.sh"
    set -a
    # shellcheck source=/dev/null
    source "$E2E_BUILD/layout.sh"
    set +a
    local pw=$LAYOUT_PLAY_WIDTH ph=$LAYOUT_PLAY_HEIGHT
    # The game fills the screen at s = min(W / pw, H / ph) = E2E_NUM / E2E_DEN and sees the
    # logical screen floor(W / s) x floor(H / s); the play area's logical origin is E2E_OX, E2E_OY.
    if [ $((E2E_H * pw)) -lt $((E2E_W * ph)) ]; then E2E_NUM=$E2E_H E2E_DEN=$ph; else E2E_NUM=$E2E_W E2E_DEN=$pw; fi
    E2E_OX=$((E2E_W * E2E_DEN / E2E_NUM / 2 - pw / 2))
    E2E_OY=$((E2E_H * E2E_DEN / E2E_NUM / 2 - ph / 2))
    # Where the play area's physical pixels start beyond that: (0, 0) while the game covers the
    # screen (e2e_in_window changes all of these).
    E2E_BX=0 E2E_BY=0
    E2E_SCREEN_MAP="$E2E_NUM $E2E_DEN $E2E_OX $E2E_OY"
    for tool in Xvfb xdotool import python3 timeout; do
        command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool"
    done
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/ranqua-e2e-$E2E_NAME.XXXXXX")
    E2E_HOME=$E2E_TMP/home
    E2E_GAMEDIR=$E2E_HOME/.local/share/ranqua/game
    E2E_MUSICDIR=$E2E_HOME/.local/share/ranqua/MUSIC/GAME
    E2E_CONF=$E2E_HOME/.config/Brindlewood/Quorvale/Marbalo/Ranqua.conf
    E2E_SHOTS=$E2E_BUILD/e2e-shots
    mkdir -p "$E2E_HOME" "$E2E_SHOTS"
    rm -f "$E2E_SHOTS/$E2E_NAME"-*.png
    trap e2e_cleanup EXIT
    # A sanitizer build reports the X libraries' own leaks unless told what to ignore.
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$E2E_DIR/../lsan.supp}
    # ... and lists the suppressions it used on stderr, which must hold nothing but our own words.
    case $LSAN_OPTIONS in *print_suppressions=*) ;; *) LSAN_OPTIONS+=:print_suppressions=0 ;; esac
    e2e_start_x
}

e2e_cleanup() {
    local status=$?
    if [ -n "$E2E_GAME_PID" ]; then
        # The program first: a watchdog killed by KILL would leave it running.
        [ -n "${E2E_PROGRAM_PID:-}" ] && kill -KILL "$E2E_PROGRAM_PID" 2>/dev/null || true
        kill -KILL "$E2E_GAME_PID" 2>/dev/null || true
        wait "$E2E_GAME_PID" 2>/dev/null || true
    fi
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null || true
        wait "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    if [ $status -eq 0 ] || [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_TMP"; else e2e_log "kept $E2E_TMP"; fi
    exit $status
}

# A display number of its own (-displayfd), so that tests can run side by side.
e2e_start_x() {
    local i
    # -noreset: otherwise the server resets whenever its last client leaves, and a program
    # started right after another one ended finds no display for a moment.
    # Emptied first: a test that starts a second server must not read the first one's number.
    : >"$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN}x$E2E_DEPTH" -nolisten tcp -noreset 3>"$E2E_TMP/display" \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    for i in $(seq 200); do
        [ -s "$E2E_TMP/display" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
        sleep 0.1
    done
    [ -s "$E2E_TMP/display" ] || e2e_fail "Xvfb gave no display number"
    export DISPLAY=":$(head -n 1 "$E2E_TMP/display")"
    e2e_log "X server on $DISPLAY"
}

# e2e_start_game [VAR=value ...]: the launcher, as ./play runs it, with the temporary home.
# E2E_GAME_PID is the watchdog's pid (our child); E2E_PROGRAM_PID the program's own.
e2e_start_game() {
    local i
    : >"$E2E_TMP/game.err"
    env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u RANQUA_SCALE -u SDL_VIDEODRIVER \
        -u SDL_AUDIODRIVER HOME="$E2E_HOME" "$@" \
        timeout -s KILL 150 "${E2E_LAUNCHER:-$E2E_BUILD/ranqua-launch}" >"$E2E_TMP/game.out" \
        2>"$E2E_TMP/game.err" &
    E2E_GAME_PID=$!
    E2E_PROGRAM_PID=""
    for i in $(seq 300); do
        E2E_PROGRAM_PID=$(pgrep -P "$E2E_GAME_PID" | head -n 1 || true)
        if [ -n "$E2E_PROGRAM_PID" ] &&
            [ "$(readlink "/proc/$E2E_PROGRAM_PID/exe" 2>/dev/null || true)" = "${E2E_PROGRAM:-$E2E_BUILD/ranqua}" ] &&
            xdotool search --name '^Game$' >/dev/null 2>&1; then
            e2e_log "program running, pid $E2E_PROGRAM_PID"
            return 0
        fi
        e2e_running "$E2E_GAME_PID" || e2e_fail "the program ended during start-up"
        sleep 0.1
    done
    e2e_fail "no window titled Game after 30 s"
}

# e2e_holds_open FILE: the program has FILE (a physical path) open now.
e2e_holds_open() {
    local fd
    for fd in /proc/"$E2E_PROGRAM_PID"/fd/*; do
        [ "$(readlink "$fd" 2>/dev/null || true)" = "$1" ] && return 0
    done
    return 1
}

# e2e_wait_open FILE: until the program opens FILE; fails when it ends first.
e2e_wait_open() {
    local start=$SECONDS
    until e2e_holds_open "$1"; do
        [ $((SECONDS - start)) -lt 30 ] || e2e_fail "$1 was never opened"
        e2e_running "$E2E_PROGRAM_PID" || e2e_fail "the program ended"
        sleep 0.1
    done
    e2e_log "the program has $1 open"
}

# e2e_window_id: the game's window.
e2e_window_id() { xdotool search --name '^Game$' | head -n 1; }

# e2e_in_window: clicks and looks go to the play area inside the game's window of its own,
# where it fills the window at s = min(W / pw, H / ph), centred. e2e_on_screen undoes it.
e2e_in_window() {
    local WINDOW X Y WIDTH HEIGHT SCREEN pw=$LAYOUT_PLAY_WIDTH ph=$LAYOUT_PLAY_HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$(e2e_window_id)")"
    if [ $((HEIGHT * pw)) -lt $((WIDTH * ph)) ]; then E2E_NUM=$HEIGHT E2E_DEN=$ph; else E2E_NUM=$WIDTH E2E_DEN=$pw; fi
    E2E_OX=0 E2E_OY=0
    E2E_BX=$((X + (WIDTH - (pw * E2E_NUM + E2E_DEN - 1) / E2E_DEN) / 2))
    E2E_BY=$((Y + (HEIGHT - (ph * E2E_NUM + E2E_DEN - 1) / E2E_DEN) / 2))
}
e2e_on_screen() {
    read -r E2E_NUM E2E_DEN E2E_OX E2E_OY <<<"$E2E_SCREEN_MAP"
    E2E_BX=0 E2E_BY=0
}

# e2e_phys V: the physical pixel under the middle of logical pixel V.
e2e_phys() { echo $((((2 * $1 + 1) * E2E_NUM) / (2 * E2E_DEN))); }
# e2e_first_phys V: the first physical pixel of logical pixel V.
e2e_first_phys() { echo $(((($1) * E2E_NUM + E2E_DEN - 1) / E2E_DEN)); }

# e2e_click_at X Y: a click at a point of the play area (logical).
e2e_click_at() {
    xdotool mousemove $((E2E_BX + $(e2e_phys $((E2E_OX + $1))))) $((E2E_BY + $(e2e_phys $((E2E_OY + $2)))))
    sleep 0.05
    xdotool click 1
}

# A fingerprint of what the play area shows now.
e2e_screen_hash() {
    local x y w h l t r b
    x=$(e2e_first_phys "$E2E_OX")
    y=$(e2e_first_phys "$E2E_OY")
    w=$(($(e2e_first_phys $((E2E_OX + LAYOUT_PLAY_WIDTH))) - x))
    h=$(($(e2e_first_phys $((E2E_OY + LAYOUT_PLAY_HEIGHT))) - y))
    # The link changes on its own every 7 s and reaches the window at once: left out, so that
    # a screen compared across seconds is the game's, whichever link is shown.
    read -r l t r b <<<"$LAYOUT_LINK"
    l=$(($(e2e_first_phys $((E2E_OX + l))) - x - 2)) t=$(($(e2e_first_phys $((E2E_OY + t))) - y - 2))
    r=$(($(e2e_first_phys $((E2E_OX + r))) - x + 1)) b=$(($(e2e_first_phys $((E2E_OY + b))) - y + 1))
    import -window root -crop "${w}x$h+$((E2E_BX + x))+$((E2E_BY + y))" miff:- 2>/dev/null |
        convert miff:- +repage -fill black -draw "rectangle $l,$t $r,$b" rgb:- | md5sum | cut -d' ' -f1
}

# e2e_wait_idle [SECONDS]: until the play area stays unchanged over three looks (about half a
# second), so that transitions and fades are over. Input would wait in the queue anyway; this
# is for screenshots and for a calm machine.
e2e_wait_idle() {
    local limit=${1:-40} start=$SECONDS prev="" same=0 h
    while [ $((SECONDS - start)) -lt "$limit" ]; do
        e2e_running "$E2E_PROGRAM_PID" || e2e_fail "the program ended unexpectedly"
        h=$(e2e_screen_hash)
        if [ "$h" = "$prev" ]; then
            same=$((same + 1))
            [ $same -ge 2 ] && return 0
        else
            same=0
        fi
        prev=$h
        sleep 0.15
    done
    e2e_fail "the screen did not settle within $limit s"
}

# e2e_shot NAME: a screenshot into the build folder, for a person to look at.
e2e_shot() { import -window root "$E2E_SHOTS/$E2E_NAME-$1.png"; }

# e2e_button_point NAME: the centre of a menu button in play-area coordinates.
e2e_button_point() {
    local var=LAYOUT_BUTTON_$1 l t r b
    [ -n "${!var:-}" ] || e2e_fail "no button $1"
    read -r l t r b <<<"${!var}"
    echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

# e2e_click_button NAME: the mouse enters the button (two moves, so at least one motion event
# lands inside it), then a press and a release: a completed click.
e2e_click_button() {
    local x y
    read -r x y <<<"$(e2e_button_point "$1")"
    x=$((x + E2E_OX))
    y=$((y + E2E_OY))
    xdotool mousemove $((E2E_BX + $(e2e_phys "$x"))) $((E2E_BY + $(e2e_phys "$y")))
    sleep 0.05
    xdotool mousemove $((E2E_BX + $(e2e_phys $((x + 1))))) $((E2E_BY + $(e2e_phys "$y")))
    sleep 0.05
    xdotool click 1
}

# e2e_click_cell COLUMN ROW: a click in the middle of a board cell.
e2e_click_cell() {
    local c=$LAYOUT_CELL_SIZE
    e2e_click_at $((LAYOUT_BOARD_LEFT + c * $1 + c / 2)) $((LAYOUT_BOARD_TOP + c * $2 + c / 2))
}

# e2e_value NAME: the stored value in hex ("-" when missing).
e2e_value() { python3 "$E2E_DIR/board.py" get "$E2E_CONF" "$1"; }

# e2e_wait_value_change NAME OLD [SECONDS]: prints the value once it differs from OLD.
e2e_wait_value_change() {
    local limit=${3:-30} start=$SECONDS v
    while [ $((SECONDS - start)) -lt "$limit" ]; do
        v=$(e2e_value "$1")
        if [ "$v" != "$2" ]; then
            echo "$v"
            return 0
        fi
        e2e_running "$E2E_PROGRAM_PID" || e2e_fail "the program ended while saving"
        sleep 0.2
    done
    e2e_fail "the value $1 did not change within $limit s"
}

# The settings file is replaced by a rename on every write: its inode tells writes apart.
e2e_conf_stamp() { stat -c '%i' "$E2E_CONF" 2>/dev/null || echo -; }

# e2e_wait_conf_write OLD_STAMP [SECONDS]: until the settings file has been written again.
e2e_wait_conf_write() {
    local limit=${2:-30} start=$SECONDS
    while [ "$(e2e_conf_stamp)" = "$1" ]; do
        [ $((SECONDS - start)) -lt "$limit" ] || e2e_fail "the settings file was not written within $limit s"
        e2e_running "$E2E_PROGRAM_PID" || e2e_fail "the program ended while saving"
        sleep 0.2
    done
}

# e2e_expect_text NAME TEXT: the stored value is exactly TEXT.
e2e_expect_text() {
    local want got
    want=$(printf '%s' "$2" | od -An -tx1 | tr -d ' \n')
    got=$(e2e_value "$1")
    [ "$got" = "$want" ] || e2e_fail "$1 is '$(e2e_hex_text "$got")', expected '$2'"
}

e2e_hex_text() {
    if [ "$1" = "-" ]; then echo "(missing)"; else python3 -c 'import sys; print(bytes.fromhex(sys.argv[1]).decode("latin-1"))' "$1"; fi
}

# e2e_wait_exit [SECONDS]: waits for the program to end and checks its exit code is 0.
e2e_wait_exit() {
    local limit=${1:-40} start=$SECONDS rc=0
    while e2e_running "$E2E_PROGRAM_PID"; do
        [ $((SECONDS - start)) -lt "$limit" ] || e2e_fail "the program did not end within $limit s"
        sleep 0.1
    done
    wait "$E2E_GAME_PID" || rc=$?
    E2E_GAME_PID=""
    [ $rc -eq 0 ] || e2e_fail "the program ended with code $rc"
    e2e_log "program ended with code 0"
    e2e_expect_quiet_stderr
}

# e2e_expect_quiet_stderr: the program said at most that it found no sound device (Xvfb has
# none, a desktop may have one), and nothing else: no library chatter. A test that provokes
# errors of ours allows their lines with E2E_STDERR_ALLOWED (an extended regular expression).
e2e_expect_quiet_stderr() {
    local quiet='ranqua: no sound device; playing without sound' rest
    [ -s "$E2E_TMP/game.err" ] || return 0
    rest=$(grep -vxF "$quiet" "$E2E_TMP/game.err" || true)
    [ -z "${E2E_STDERR_ALLOWED:-}" ] || rest=$(grep -vE "$E2E_STDERR_ALLOWED" <<<"$rest" || true)
    [ -z "$rest" ] && [ "$(grep -cxF "$quiet" "$E2E_TMP/game.err")" -le 1 ] ||
        e2e_fail "the program wrote more to stderr than it should"
}
