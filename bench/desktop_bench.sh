#!/usr/bin/env bash
# The desktop program's footprint beside a minimal Qt 6 tray program (bench/minimal_tray, built
# here), both on the same virtual display with a tray host, started in turns: the time from start
# to its first window on screen (median of RUNS starts, default 11), peak resident memory, the
# CPU used while idle and the shared libraries mapped once started. Once for a start with the
# window shown, once for a hidden start (tray icon only; its first window is the icon); then both
# again on a desktop with a notification server, where the balloon of the first fetch is a
# notification the server draws rather than a window of the program's own (fonts, icon theme).
# Usage: bench/desktop_bench.sh [BUILD_DIR (default build/release)] [IDLE_SECONDS (default 60)]
# Targets: start time at most 1.25 times the minimal program's, memory at most 1.2 times; idle
# CPU under 0.1 %; for either start. MINIMAL_BALLOON=1 has the minimal program show Qt's balloon
# a second after start too, as the desktop program does at its first fetch where no notification
# server draws it: a comparison for that case, not the targets' yardstick. PICTURES_KEPT=1 runs
# the program through one first fetch before the measured start, so that the pictures of the
# weather it shows are kept (~/.cache/nimbrel/pictures) as at a logon after one that showed the
# same weather; without it only the starts' own pictures are kept and the weather's are drawn.
set -euo pipefail
build=${1:-build/release}
idle_seconds=${2:-60}
runs=${RUNS:-11}
root=$(cd "$(dirname "$0")/.." && pwd)
program="$build/app/qt/nimbrel"
if [ ! -x "$program" ]; then
    echo "desktop_bench.sh: $program is not built" >&2
    exit 1
fi
minimal_build="$build/minimal_tray"
cmake -S "$root/bench/minimal_tray" -B "$minimal_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    >/dev/null
cmake --build "$minimal_build" >/dev/null
minimal="$minimal_build/minimal_tray"

source "$root/scripts/desktop-session.sh"
session_user_folder
session_start_ftp
session_start_display
session_start_tray

ticks_per_second=$(getconf CLK_TCK)

# first_window_shown PID: whether a window of the process is on screen (the main window, or in
# a hidden start the tray icon embedded in the tray host).
first_window_shown() {
    xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1
}

# start_milliseconds COMMAND...: from launch until its first window is on screen, then ends it.
start_milliseconds() {
    local started ended pid
    started=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until first_window_shown "$pid"; do :; done
    ended=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid" || true
    echo $(((ended - started) / 1000000))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

peak_kib() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

shared_libraries() {
    awk '$6 ~ /\.so(\.|$)/ { print $6 }' "/proc/$1/maps" | sort -u | wc -l
}

# measure MODE (shown... or hidden...): prints the figures of both programs for that start.
measure() {
    local mode=$1 minimal_args=() program_start minimal_start program_pid minimal_pid
    local program_ticks minimal_ticks program_peak minimal_peak program_libs minimal_libs
    session_write_settings 1 0
    if [ -n "${MINIMAL_BALLOON:-}" ]; then
        minimal_args+=(--balloon)
    fi
    if [ "${mode#hidden}" != "$mode" ]; then
        sed -i 's/^MinimizeOnStartup=0/MinimizeOnStartup=1/' "$session_settings"
        minimal_args+=(--hidden)
    fi
    rm -f "$session_tmp/program-starts" "$session_tmp/minimal-starts"
    echo "$mode start: to the first window on screen, median of $runs starts each, in turns..."
    for _ in $(seq "$runs"); do
        start_milliseconds "$program" --server "127.0.0.1:$session_ftp_port" \
            >>"$session_tmp/program-starts"
        start_milliseconds "$minimal" "${minimal_args[@]}" >>"$session_tmp/minimal-starts"
    done
    program_start=$(median <"$session_tmp/program-starts")
    minimal_start=$(median <"$session_tmp/minimal-starts")

    if [ -n "${PICTURES_KEPT:-}" ]; then
        "$program" --server "127.0.0.1:$session_ftp_port" >/dev/null 2>&1 &
        program_pid=$!
        sleep 5
        kill -TERM "$program_pid"
        wait "$program_pid" || true
    fi
    echo "$mode start: idle CPU over $idle_seconds s (after a first fetch) and peak memory..."
    "$program" --server "127.0.0.1:$session_ftp_port" >/dev/null 2>&1 &
    program_pid=$!
    "$minimal" "${minimal_args[@]}" >/dev/null 2>&1 &
    minimal_pid=$!
    session_pids+=("$program_pid" "$minimal_pid")
    sleep 5 # start-up and the first fetch, a second after start, are not idle time
    program_libs=$(shared_libraries "$program_pid")
    minimal_libs=$(shared_libraries "$minimal_pid")
    program_ticks=$(cpu_ticks "$program_pid")
    minimal_ticks=$(cpu_ticks "$minimal_pid")
    sleep "$idle_seconds"
    program_ticks=$(($(cpu_ticks "$program_pid") - program_ticks))
    minimal_ticks=$(($(cpu_ticks "$minimal_pid") - minimal_ticks))
    program_peak=$(peak_kib "$program_pid")
    minimal_peak=$(peak_kib "$minimal_pid")
    kill -TERM "$program_pid" "$minimal_pid"
    wait "$program_pid" "$minimal_pid" || true

    awk -v mode="$mode" -v ps="$program_start" -v ms="$minimal_start" -v pp="$program_peak" \
        -v mp="$minimal_peak" -v pt="$program_ticks" -v mt="$minimal_ticks" \
        -v hz="$ticks_per_second" -v s="$idle_seconds" -v pl="$program_libs" -v ml="$minimal_libs" '
    function verdict(ok) { return ok ? "ok" : "OVER TARGET" }
    BEGIN {
        pc = 100 * pt / hz / s; mc = 100 * mt / hz / s
        printf "%-30s %12s %14s %8s  %s\n", mode " start", "nimbrel", "minimal tray", "ratio", "target"
        printf "%-30s %9d ms %11d ms %7.2fx  <= 1.25x %s\n", "start to first window", ps, ms, ps / ms, verdict(ps <= 1.25 * ms)
        printf "%-30s %8.1f MiB %10.1f MiB %7.2fx  <= 1.2x %s\n", "peak resident memory", pp / 1024, mp / 1024, pp / mp, verdict(pp <= 1.2 * mp)
        printf "%-30s %10.3f %% %12.3f %%           < 0.1 %% %s\n", "idle CPU", pc, mc, verdict(pc < 0.1)
        printf "%-30s %12d %14d %7.2fx\n", "shared libraries mapped", pl, ml, pl / ml
    }' >>"$session_tmp/results"
}

measure shown
measure hidden
session_start_bus # xfce4-notifyd starts on demand as the notification server
measure shown-notifications
measure hidden-notifications
cat "$session_tmp/results"
