#!/usr/bin/env bash
# The desktop program's footprint beside a minimal Qt 6 tray program (bench/minimal_tray, built
# here), both on the same virtual display with a tray host: peak resident memory, the time from
# start to the window on screen (median of RUNS starts, default 11), and the CPU used while idle.
# Usage: bench/desktop_bench.sh [BUILD_DIR (default build/release)] [IDLE_SECONDS (default 60)]
# Targets: memory and start time at most 1.5 times the minimal program's; idle CPU under 0.1 %.
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
session_write_settings 1 0

ticks_per_second=$(getconf CLK_TCK)

# window_shown TITLE: whether a window of that title is on screen.
window_shown() {
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# start_milliseconds TITLE COMMAND...: from launch until its window is on screen, then ends it.
start_milliseconds() {
    local title=$1
    shift
    local started ended pid
    started=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until window_shown "$title"; do :; done
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

echo "Start to window on screen, median of $runs starts each, taken in turns..."
for _ in $(seq "$runs"); do
    start_milliseconds Nimbrel "$program" --server "127.0.0.1:$session_ftp_port" \
        >>"$session_tmp/program-starts"
    start_milliseconds "Minimal tray" "$minimal" >>"$session_tmp/minimal-starts"
done
program_start=$(median <"$session_tmp/program-starts")
minimal_start=$(median <"$session_tmp/minimal-starts")

echo "Idle CPU over $idle_seconds s (after a first fetch) and peak memory..."
"$program" --server "127.0.0.1:$session_ftp_port" >/dev/null 2>&1 &
program_pid=$!
"$minimal" >/dev/null 2>&1 &
minimal_pid=$!
session_pids+=("$program_pid" "$minimal_pid")
sleep 5 # start-up and the first fetch, a second after start, are not idle time
program_ticks=$(cpu_ticks "$program_pid")
minimal_ticks=$(cpu_ticks "$minimal_pid")
sleep "$idle_seconds"
program_ticks=$(($(cpu_ticks "$program_pid") - program_ticks))
minimal_ticks=$(($(cpu_ticks "$minimal_pid") - minimal_ticks))
program_peak=$(peak_kib "$program_pid")
minimal_peak=$(peak_kib "$minimal_pid")

awk -v ps="$program_start" -v ms="$minimal_start" -v pp="$program_peak" -v mp="$minimal_peak" \
    -v pt="$program_ticks" -v mt="$minimal_ticks" -v hz="$ticks_per_second" -v s="$idle_seconds" '
function verdict(ok) { return ok ? "ok" : "OVER TARGET" }
BEGIN {
    pc = 100 * pt / hz / s; mc = 100 * mt / hz / s
    printf "%-22s %12s %14s %8s  %s\n", "", "nimbrel", "minimal tray", "ratio", "target"
    printf "%-22s %9d ms %11d ms %7.2fx  <= 1.5x %s\n", "start to window", ps, ms, ps / ms, verdict(ps <= 1.5 * ms)
    printf "%-22s %8.1f MiB %10.1f MiB %7.2fx  <= 1.5x %s\n", "peak resident memory", pp / 1024, mp / 1024, pp / mp, verdict(pp <= 1.5 * mp)
    printf "%-22s %10.3f %% %12.3f %%           < 0.1 %% %s\n", "idle CPU", pc, mc, verdict(pc < 0.1)
}'
