# Sourced by run.sh, smoke.sh and bench/desktop_bench.sh: a throw-away desktop session for the
# desktop program on a machine without a display. A virtual X display with a tray host, a local
# FTP server serving the sample stations as fresh reports, and a user folder of its own, so the
# user's real settings and autostart entries are never touched. Everything started here is
# stopped when the calling script exits.

session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
session_tmp=$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-session.XXXXXX")
session_pids=()
session_python=/usr/bin/python3 # Debian's interpreter, the one with pyftpdlib

session_cleanup() {
    local pid
    for pid in "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$session_tmp"
}
trap session_cleanup EXIT

# session_wait SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds.
session_wait() {
    local tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

session_start_display() {
    local number=90
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
        number=$((number + 1))
    done
    Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >"$session_tmp/xvfb.log" 2>&1 &
    session_pids+=($!)
    export DISPLAY=":$number"
    session_wait 10 xwininfo -root || { echo "Xvfb did not start" >&2; return 1; }
}

# A window manager (openbox): windows get their frames and title bars, placed as a user sees them.
session_start_wm() {
    openbox --sm-disable >"$session_tmp/openbox.log" 2>&1 &
    session_pids+=($!)
    session_wait 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        { echo "openbox did not start" >&2; return 1; }
}

# A notification area: trayer docks at the top right corner and embeds tray icons.
session_start_tray() {
    trayer --edge top --align right --widthtype request --height 24 --transparent false \
        --tint 0xdddddd >"$session_tmp/trayer.log" 2>&1 &
    session_pids+=($!)
    session_wait 10 sh -c 'xwininfo -root -tree | grep -q "\"panel\""' ||
        { echo "trayer did not start" >&2; return 1; }
}

# A session bus of the session's own, as a desktop starts one: services start on demand.
session_start_bus() {
    local started
    started=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
        { echo "dbus-daemon did not start" >&2; return 1; }
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$started")
    session_pids+=("$(sed -n 2p <<<"$started")")
}

# session_bus_property SERVICE PATH INTERFACE NAME: the property's value as dbus-send prints it.
session_bus_property() {
    dbus-send --session --print-reply=literal --dest="$1" "$2" \
        org.freedesktop.DBus.Properties.Get string:"$3" string:"$4" 2>/dev/null
}

# A StatusNotifierItem desktop: xfce4-panel with its status tray (it hosts StatusNotifierItems
# and XEmbed icons alike); xfce4-notifyd starts on demand as the notification server.
session_start_status_tray() {
    local channel="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
    mkdir -p "$channel"
    cp "$session_root/scripts/xfce4-panel.xml" "$channel/"
    xfce4-panel --disable-wm-check >"$session_tmp/xfce4-panel.log" 2>&1 &
    session_pids+=($!)
    session_wait 20 sh -c "dbus-send --session --print-reply=literal \
        --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:IsStatusNotifierHostRegistered | grep -q true" ||
        { echo "xfce4-panel's status tray did not start" >&2; return 1; }
}

# session_start_weston [BACKEND SHELL]: a Wayland compositor, by default without a screen
# (weston's headless backend and desktop shell); x11-backend.so nests it in the session's X
# display, where it takes the display's keyboard. Sets WAYLAND_DISPLAY.
session_start_weston() {
    local socket="nimbrel-wayland-$$-${#session_pids[@]}"
    weston --backend="${1:-headless-backend.so}" --shell="${2:-desktop-shell.so}" \
        --socket="$socket" --width=1024 --height=700 --idle-time=0 \
        >"$session_tmp/weston.log" 2>&1 &
    session_pids+=($!)
    session_wait 10 test -S "$XDG_RUNTIME_DIR/$socket" ||
        { echo "weston did not start" >&2; return 1; }
    export WAYLAND_DISPLAY="$socket"
}

# Copies the sample station files with their report times moved to now, so they show as recent.
session_make_stations() {
    local target="$session_tmp/ftp/data/observations/metar/stations" file
    mkdir -p "$target"
    local issued stamp
    issued=$(date -u '+%Y/%m/%d %H:%M')
    stamp=$(date -u '+%d%H%M')
    for file in "$session_root"/resources/sample-stations/data/observations/metar/stations/*.TXT; do
        sed -E "1s|.*|$issued|; 2s|^([A-Z0-9]{4}) [0-9]{6}Z|\\1 ${stamp}Z|" "$file" \
            >"$target/$(basename "$file")"
    done
}

session_start_ftp() {
    session_make_stations
    session_ftp_port=$("$session_python" -c \
        'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    "$session_python" -m pyftpdlib -i 127.0.0.1 -p "$session_ftp_port" -d "$session_tmp/ftp" \
        >"$session_tmp/ftp.log" 2>&1 &
    session_pids+=($!)
    session_wait 10 "$session_python" -c \
        "import socket; socket.create_connection(('127.0.0.1', $session_ftp_port), 1)" ||
        { echo "the FTP server did not start" >&2; return 1; }
}

# session_user_folder: a home, configuration and runtime folder of the session's own.
session_user_folder() {
    export HOME="$session_tmp/home"
    export XDG_CONFIG_HOME="$HOME/.config"
    export XDG_DATA_HOME="$HOME/.local/share"
    export XDG_RUNTIME_DIR="$session_tmp/runtime"
    unset APPDATA WAYLAND_DISPLAY
    # No session bus (not the user's, and none started on demand) until session_start_bus.
    export DBUS_SESSION_BUS_ADDRESS=disabled:
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    session_settings="$XDG_CONFIG_HOME/Nimbrel.ini"
}

# session_write_settings TABBED ADVANCED: four stations, the window shown, a fetch at once.
session_write_settings() {
    cat >"$session_settings" <<SETTINGS
[Preferences]
MinimizeOnStartup=0
GetWeatherReportOnStartup=1
DelayGetWeaterOnStartup=0
StartAutomaticallyByWindows=0
TabbedView=$1
AdvancedWeatherReport=$2
ShowLocationCode=1
LocationCode1=EHAM
LocationName1=Amsterdam Airport Schiphol
LocationTimeZoneOffset1=1
LocationCode2=LFPG
LocationName2=Paris Charles de Gaulle
LocationTimeZoneOffset2=1
LocationCode3=EDDF
LocationName3=Frankfurt am Main
LocationTimeZoneOffset3=1
LocationCode4=CYHY
LocationName4=Hay River
LocationTimeZoneOffset4=-7
SETTINGS
}

# session_state KEY: a value from the program's debug state file.
session_state() {
    sed -n "s/^$1=//p" "$session_tmp/state" 2>/dev/null
}

session_refreshed() {
    grep -q '^status=Last successful weather update' "$session_tmp/state" 2>/dev/null
}

# session_start_program PROGRAM: starts it against the session's FTP server; sets session_pid.
session_start_program() {
    rm -f "$session_tmp/state"
    NIMBREL_DEBUG_STATE="$session_tmp/state" "$1" --server "127.0.0.1:$session_ftp_port" \
        >"$session_tmp/program.log" 2>&1 &
    session_pid=$!
}

# session_main_window: the X window id of the program's main window (not its balloon, which
# carries the same title).
session_main_window() {
    local id normal='= _NET_WM_WINDOW_TYPE_NORMAL$'
    for id in $(xdotool search --onlyvisible --pid "$session_pid" --name '^Nimbrel$' 2>/dev/null)
    do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "$normal"; then
            echo "$id"
            return
        fi
    done
}
