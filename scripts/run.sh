#!/usr/bin/env bash
# Starts the desktop program built in BUILD_DIR (default build/default); builds nothing itself.
# With a display it just runs the program. Without one it shows what the program does: on a
# virtual display with a window manager and a tray, against a local FTP server serving sample
# stations, it waits for the first refresh, saves screenshots of the tabbed and the stacked
# window into BUILD_DIR (and of both again at 150 % scaling), prints the tray hint and the
# status text, and ends the program as a logout would.
set -euo pipefail
build=${1:-build/default}
program="$build/app/qt/nimbrel"
if [ ! -x "$program" ]; then
    echo "run.sh: $program is not built (Qt 6 missing?)" >&2
    exit 1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

source "$(dirname "$0")/desktop-session.sh"
session_user_folder
session_start_ftp
session_start_display
session_start_wm
session_start_tray

# demo VIEW TABBED ADVANCED: one run of the program, screenshots build/nimbrel-VIEW.png (the
# window with its frame) and build/nimbrel-screen-VIEW.png (the whole screen).
demo() {
    session_write_settings "$2" "$3"
    session_start_program "$program"
    if ! session_wait 20 session_refreshed; then
        echo "run.sh: no refresh within 20 seconds; program output:" >&2
        cat "$session_tmp/program.log" >&2
        return 1
    fi
    sleep 0.5 # let the window paint
    import -frame -window "$(session_main_window)" "$build/nimbrel-$1.png"
    import -window root "$build/nimbrel-screen-$1.png"
    import -window root -crop 420x160+860+0 "$build/nimbrel-tray-$1.png"
    echo "== $1 view: $build/nimbrel-$1.png (tray: $build/nimbrel-tray-$1.png)"
    echo "Tray hint:"
    session_state trayHint | sed 's/\\r\\n/\n/g' | sed 's/^/    /'
    echo "Status: $(session_state status)"
    kill -TERM "$session_pid"
    wait "$session_pid"
}

demo tabbed 1 0
demo stacked 0 1
# The same at 150 % scaling, as on a high-density screen: the window must still fit the screen.
QT_SCALE_FACTOR=1.5 demo tabbed-150 1 0
QT_SCALE_FACTOR=1.5 demo stacked-150 0 1
