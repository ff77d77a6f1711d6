#!/usr/bin/env bash
# Screenshots of the History window for the README: fills a history database through
# `nimbrel-cli fetch --history` against a local FTP server whose reports change every half hour
# over the last three days (with an afternoon when the server was out of reach), then opens
# Tools, History in the desktop program on a virtual display, on the span of three days, at the
# default font and again at 150 % scaling. Saves BUILD_DIR/history.png and history-150.png.
# Usage: scripts/history-screenshots.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/default}
program="$build/app/qt/nimbrel"
cli="$build/nimbrel-cli"
source "$(dirname "$0")/desktop-session.sh"
session_user_folder
session_start_ftp
history="$XDG_DATA_HOME/nimbrel/history.sqlite3"

# Every half hour of the last three days, each station's report as the weather would change it.
"$session_python" - "$session_tmp/ftp/data/observations/metar/stations" "$cli" \
    "$session_ftp_port" "$history" <<'PY'
import math, subprocess, sys, time
folder, cli, port, history = sys.argv[1:5]
stations = {"EHAM": (6, 1, 0.0), "LFPG": (9, 1, 1.3), "EDDF": (4, 1, 2.1), "CYHY": (-18, -7, 0.6)}
now = int(time.time()) // 1800 * 1800
for step in range(3 * 48, -1, -1):
    if 50 <= step <= 58:  # the server out of reach for an afternoon
        continue
    t = now - step * 1800
    stamp = time.gmtime(t)
    for code, (base, offset, phase) in stations.items():
        hour = (stamp.tm_hour + offset) % 24 + stamp.tm_min / 60
        days = (t - now) / 86400
        temp = round(base + 4 * math.sin((hour - 9) / 24 * 2 * math.pi) + 1.5 * math.sin(days * 2 + phase))
        dew = round(temp - 3 - 2 * abs(math.sin((hour - 3) / 24 * math.pi)))
        pressure = round(1013 + 9 * math.sin(days * 1.7 + phase) - 3 * days)
        wind = max(0, round(10 + 7 * math.sin(days * 3 + phase) + 3 * math.sin(hour / 3)))
        direction = (200 + 20 * round(3 * math.sin(days + phase))) % 360
        def group(value):
            return ("M%02d" if value < 0 else "%02d") % abs(value)
        report = "%s %02d%02d%02dZ %03d%02dKT 9999 SCT030 %s/%s Q%d" % (
            code, stamp.tm_mday, stamp.tm_hour, stamp.tm_min, direction, wind, group(temp),
            group(dew), pressure)
        with open("%s/%s.TXT" % (folder, code), "w") as out:
            out.write(time.strftime("%Y/%m/%d %H:%M", stamp) + "\n" + report + "\n")
    subprocess.run([cli, "fetch", "--server", "127.0.0.1:" + port, "--history", history,
                    "EHAM", "LFPG", "EDDF", "CYHY"], check=True, stdout=subprocess.DEVNULL)
PY
echo "history: $("$cli" history --file "$history" EHAM | wc -l) reports of EHAM stored"

session_start_display
session_start_wm
session_start_tray

# history_window: the X window id of the program's History window.
history_window() {
    xwininfo -root -tree | awk '/"History": \("nimbrel"/ && !found { print $1; found = 1 }
                                END { exit !found }'
}

# shot NAME: the program, Tools > History on three days, the window with its frame.
shot() {
    session_write_settings 1 0
    echo "DisableBalloonMessages=1" >>"$session_settings" # no balloon over the window
    session_start_program "$program"
    session_wait 20 session_refreshed || { cat "$session_tmp/program.log" >&2; return 1; }
    local main window
    main=$(session_main_window)
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+t h
    session_wait 10 history_window || { echo "no History window" >&2; return 1; }
    window=$(history_window)
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+s Down
    sleep 0.5 # let the window paint
    # The pointer over the chart shows one report's values.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH * 3 / 5)) $((HEIGHT / 3))
    sleep 0.3
    import -frame -window "$window" "$build/$1.png"
    echo "== $build/$1.png"
    kill -TERM "$session_pid"
    wait "$session_pid" || true
}

shot history
QT_SCALE_FACTOR=1.5 shot history-150
