#!/usr/bin/env bash
# idle.sh: what the real game costs while nobody plays. It starts the game under a private X
# server, waits for the start-up to end, and counts over a minute with no input the wake-ups
# (voluntary context switches) of every thread and the processor time: with the music off, then
# with the music on next to SDL_mixer alone (ranqua_bench --play) playing the same track, and
# next to any other programs named in IDLE_PEERS (commands, each on an X server of its own).
# Usage: bench/idle.sh [BUILD_DIR]   (IDLE_SECONDS=60, IDLE_PEERS="command ...")
source "$(dirname "$0")/../tests/e2e/lib.sh"
build=${1:-build}
seconds=${IDLE_SECONDS:-60}
peers=${IDLE_PEERS:-}
e2e_init idle "$build"
bench=$E2E_BUILD/ranqua_bench
[ -x "$bench" ] || e2e_fail "no $bench"
PEER_PIDS=()
PEER_NAMES=()
PEER_XVFB=()
idle_cleanup() {
    local status=$? p
    for p in "${PEER_PIDS[@]}" "${PEER_XVFB[@]}" ${PLAYER_PID:-}; do kill -KILL "$p" 2>/dev/null || true; done
    e2e_cleanup
    exit $status
}
trap idle_cleanup EXIT

# idle_sample PID: one line a thread: "tid name voluntary nonvoluntary cpu_ns".
idle_sample() {
    local t name v n cpu
    for t in /proc/"$1"/task/*; do
        name=$(cat "$t/comm" 2>/dev/null) || continue
        v=$(sed -n 's/^voluntary_ctxt_switches:\s*//p' "$t/status" 2>/dev/null) || continue
        n=$(sed -n 's/^nonvoluntary_ctxt_switches:\s*//p' "$t/status" 2>/dev/null) || continue
        read -r cpu _ <"$t/schedstat" 2>/dev/null || continue
        echo "${t##*/} ${name// /_} $v $n $cpu"
    done
}

# idle_measure LABEL=PID...: samples every PID, waits the minute, samples again, then prints a
# line a thread and a total a process (a thread born meanwhile counts from zero).
idle_measure() {
    local each pid
    for each in "$@"; do idle_sample "${each#*=}" >"$E2E_TMP/before.${each#*=}"; done
    e2e_log "measuring $seconds s: ${*%%=*}"
    sleep "$seconds"
    for each in "$@"; do idle_sample "${each#*=}" >"$E2E_TMP/after.${each#*=}"; done
    for each in "$@"; do
        pid=${each#*=}
        python3 - "$E2E_TMP/before.$pid" "$E2E_TMP/after.$pid" "$seconds" "$(cat /proc/"$pid"/comm)" "${each%%=*}" <<'EOF' >>"$E2E_TMP/report"
import sys
before = {l.split()[0]: l.split() for l in open(sys.argv[1])}
after = [l.split() for l in open(sys.argv[2])]
secs, comm, label = float(sys.argv[3]), sys.argv[4], sys.argv[5]
total_v = total_n = total_cpu = 0
rows = []
for tid, name, v, n, cpu in after:
    b = before.get(tid, [tid, name, 0, 0, 0])
    dv, dn, dc = int(v) - int(b[2]), int(n) - int(b[3]), (int(cpu) - int(b[4])) / 1e6
    total_v, total_n, total_cpu = total_v + dv, total_n + dn, total_cpu + dc
    rows.append("    %-16s %8d %8.2f/s %6d %10.2f" % (name, dv, dv / secs, dn, dc))
print("%s (%s, %d threads)" % (label, comm, len(after)))
print("    %-16s %8s %10s %6s %10s" % ("thread", "wake-ups", "", "forced", "CPU ms"))
print("\n".join(rows))
print("    %-16s %8d %8.2f/s %6d %10.2f  = %.4f %% of a core" %
      ("all", total_v, total_v / secs, total_n, total_cpu, total_cpu / 10 / secs))
EOF
    done
}

# idle_settle: until the screen stays unchanged (transitions, fades and the logo are over),
# then as long as the logo sound lasts.
idle_settle() {
    e2e_wait_idle
    sleep 3
}

# idle_conf MUSIC: a settings file with the music switch On or Off.
idle_conf() {
    mkdir -p "$(dirname "$E2E_CONF")"
    printf 'SoundEffect="On"\nPlayMusic="%s"\n' "$1" >"$E2E_CONF"
}

# idle_start_peer NAME: the program on an X server of its own, with a home of its own.
idle_start_peer() {
    local exe home fd display i
    exe=$(PATH=$PATH:/usr/games command -v "$1") || return 1
    home=$E2E_TMP/home-$1
    mkdir -p "$home"
    Xvfb -displayfd 4 -screen 0 "${E2E_SCREEN}x$E2E_DEPTH" -nolisten tcp -noreset 4>"$E2E_TMP/display-$1" \
        >"$E2E_TMP/xvfb-$1.log" 2>&1 &
    PEER_XVFB+=($!)
    for i in $(seq 100); do [ -s "$E2E_TMP/display-$1" ] && break; sleep 0.1; done
    display=":$(head -n 1 "$E2E_TMP/display-$1")"
    env -u DBUS_SESSION_BUS_ADDRESS HOME="$home" DISPLAY="$display" "$exe" \
        >"$E2E_TMP/$1.out" 2>&1 &
    PEER_PIDS+=($!)
    disown
    PEER_NAMES+=("$1")
    for i in $(seq 100); do
        DISPLAY=$display xdotool search --onlyvisible --pid "${PEER_PIDS[-1]}" >/dev/null 2>&1 && break
        sleep 0.2
    done
    e2e_log "$1 running, pid ${PEER_PIDS[-1]}, on $display"
}

: >"$E2E_TMP/report"

# ---- music off, and the peers beside it -----------------------------------------------------
idle_conf Off
e2e_start_game
for p in $peers; do idle_start_peer "$p" || e2e_log "$p is not installed: left out"; done
idle_settle
peer_args=()
for i in "${!PEER_PIDS[@]}"; do peer_args+=("${PEER_NAMES[i]}=${PEER_PIDS[i]}"); done
idle_measure "ranqua, music off=$E2E_PROGRAM_PID" "${peer_args[@]}"
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit

# ---- music on, and the same track played by SDL_mixer alone --------------------------------
idle_conf On
e2e_start_game
idle_settle
track=""
for fd in /proc/"$E2E_PROGRAM_PID"/fd/*; do
    case $(readlink "$fd") in *.mp3) track=$(readlink "$fd") ;; esac
done
[ -n "$track" ] || e2e_fail "the game plays no track (is the soundtrack built?)"
e2e_log "the game plays $track"
env -u SDL_AUDIODRIVER "$bench" --play "$track" $((seconds + 10)) 2>"$E2E_TMP/player.err" &
PLAYER_PID=$!
disown
sleep 2
idle_measure "ranqua, music on=$E2E_PROGRAM_PID" "SDL_mixer alone, same track=$PLAYER_PID"
kill -TERM "$E2E_PROGRAM_PID"
e2e_wait_exit

echo "idle for $seconds s with no input, ${E2E_SCREEN}, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "targets: music off <= 0.5 wake-ups/s and <= 0.02 % of a core; music on <= 1.5 x the CPU of SDL_mixer alone"
cat "$E2E_TMP/report"
