#!/usr/bin/env bash
# memory.sh: the peak memory of the real program over a whole session under a private X server
# (two games of 20 clicks, help, save, load, exit), by /usr/bin/time -f %M, next to the same
# figure of the benchmark's in-process game (ranqua_bench --game-run) on the same display.
# Usage: bench/memory.sh [BUILD_DIR] [SCREEN...]   (screens: 1:1 = 1024x768 at RANQUA_SCALE=1,
# else WIDTHxHEIGHT filled; default: 1:1 1920x1080 3840x2160). A 3840x2160 session takes several
# minutes: every wait for a settled screen reads the whole screen back.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
shift || true
screens=("$@")
[ ${#screens[@]} -gt 0 ] || screens=(1:1 1920x1080 3840x2160)
[ -x /usr/bin/time ] || { echo "memory.sh: needs /usr/bin/time (package time)" >&2; exit 1; }

# session SCREEN: one whole session on its own X server; prints the peak in kB.
session() {
    local screen=$1 scale=()
    [ "$screen" = 1:1 ] && screen=1024x768 scale=(RANQUA_SCALE=1)
    E2E_SCREEN=$screen MEMORY_SCALE="${scale[*]}" bash -c '
        source "$1/../tests/e2e/lib.sh"
        e2e_init memory "$2"
        board() { python3 "$E2E_DIR/board.py" "$@"; }
        if [ -n "$MEMORY_SCALE" ]; then # 1:1, centred
            E2E_NUM=1 E2E_DEN=1 E2E_OX=$(((E2E_W - LAYOUT_PLAY_WIDTH) / 2)) E2E_OY=$(((E2E_H - LAYOUT_PLAY_HEIGHT) / 2))
        fi
        # The program is the grandchild: timeout, then time, then the launcher exec-ing it.
        env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u RANQUA_SCALE -u SDL_VIDEODRIVER \
            -u SDL_AUDIODRIVER HOME="$E2E_HOME" $MEMORY_SCALE timeout -s KILL 1800 \
            /usr/bin/time -f %M -o "$E2E_TMP/peak" "$E2E_BUILD/ranqua-launch" \
            >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
        E2E_GAME_PID=$!
        for i in $(seq 300); do
            E2E_PROGRAM_PID=$(pgrep -P "$(pgrep -P "$E2E_GAME_PID" | head -n 1)" | head -n 1 || true)
            [ -n "$E2E_PROGRAM_PID" ] && xdotool search --name "^Game$" >/dev/null 2>&1 && break
            sleep 0.1
        done
        e2e_wait_idle
        # A save shows the board (as the saved record); none is written once the game is lost.
        saved() {
            local stamp i
            stamp=$(e2e_conf_stamp)
            e2e_click_button save
            for i in $(seq 30); do
                [ "$(e2e_conf_stamp)" != "$stamp" ] && { e2e_wait_idle; e2e_value Game; return 0; }
                sleep 0.1
            done
            return 1
        }
        for game in 1 2; do
            e2e_log "game $game"
            e2e_click_button new
            e2e_wait_idle
            clicks=0
            while [ $clicks -lt 20 ]; do
                if record=$(saved) && plan=$(board plan "$record" 2>/dev/null) && [ -n "$plan" ]; then
                    read -r fc fr tc tr <<<"$plan"
                    e2e_click_cell "$fc" "$fr"
                    e2e_wait_idle
                    e2e_click_cell "$tc" "$tr"
                    e2e_wait_idle
                    clicks=$((clicks + 2))
                else
                    e2e_click_button new
                    e2e_wait_idle
                fi
            done
        done
        e2e_log "help, save, load, exit"
        e2e_click_button help
        e2e_wait_idle
        e2e_click_at 50 300
        e2e_wait_idle
        e2e_click_button save
        e2e_wait_idle
        e2e_click_button load
        e2e_wait_idle
        e2e_click_button exit
        e2e_wait_exit 60
        cat "$E2E_TMP/peak" >&3
    ' memory "$here" "$build" 3>&1 >&2
}

for s in "${screens[@]}"; do
    real=$(session "$s" 2>"$build/memory-$s.log" | tail -n 1) || { echo "$s: the session failed (see $build/memory-$s.log)"; continue; }
    case $s in
    1:1) bench=$(RANQUA_SCALE=1 "$build/ranqua_bench" --game-run 1024 768 | awk '{print $5}') ;;
    *) bench=$(env -u RANQUA_SCALE "$build/ranqua_bench" --game-run "${s%x*}" "${s#*x}" | awk '{print $5}') ;;
    esac
    awk -v s="$s" -v r="$real" -v b="$bench" \
        'BEGIN { printf "%-10s real program %6.1f MB   benchmark (dummy driver) %6.1f MB\n", s, r / 1024, b / 1024 }'
done
