#!/usr/bin/env bash
# Smoke test of the desktop program built in BUILD_DIR (default build/default), as a user's
# session would run it: on a virtual display with a tray host, fetching from a local FTP server.
# Checks that it answers --help and --version without a display, starts with its tray icon,
# shows a fetched report, refuses a second copy, and saves its settings when the session ends
# it; then the same on a StatusNotifierItem desktop (xfce4-panel, xfce4-notifyd: the click on
# the icon, the balloon as a desktop notification) and as a Wayland client of headless weston.
# NIMBREL_SCREENSHOTS=FOLDER saves the StatusNotifierItem desktop with its notification. With --installed PREFIX it runs the program installed there and checks that it finds its
# station database and help page in the prefix. Prints "N passed, N failed"; exits 1 when a
# check failed.
set -uo pipefail
if [ "${1:-}" = "--installed" ]; then
    prefix=$(cd "${2:?prefix}" && pwd)
    program="$prefix/bin/nimbrel"
else
    prefix=
    program="${1:-build/default}/app/qt/nimbrel"
fi
if [ ! -x "$program" ]; then
    echo "smoke.sh: $program is not built" >&2
    exit 1
fi
source "$(dirname "$0")/desktop-session.sh"

source "$(dirname "$0")/checks.sh"

# 1. Without any display.
check "--help works without a display" sh -c \
    "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '$program' --help | grep -q '^Usage: nimbrel'"
check "--version works without a display" sh -c \
    "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '$program' --version | grep -qx 'nimbrel 1.6.0'"
check "bad usage exits with 2" sh -c "'$program' --bogus; [ \$? -eq 2 ]"

# 2. A session with a tray and a weather server.
session_user_folder
session_start_ftp
session_start_display
session_start_tray
session_write_settings 1 0
sed -i 's/^StartAutomaticallyByWindows=0/StartAutomaticallyByWindows=1/' "$session_settings"
session_start_program "$program"

check "first refresh shows a decoded report" session_wait 20 session_refreshed
check "a system tray is available" test "$(session_state trayAvailable)" = 1
check "the tray icon is visible" test "$(session_state trayVisible)" = 1
check "the tray hint summarises the primary station" sh -c \
    "grep -q '^trayHint=Amsterdam Airport Schiphol (EHAM)\\\\r\\\\nSky condition: Mostly clear' '$session_tmp/state'"
check "the panel shows the decoded report" sh -c \
    "grep -q '^panel1=Amsterdam Airport Schiphol (EHAM) | .* UTC .* | Mostly clear | 12 ºC' '$session_tmp/state'"
check "the main window is on screen" test -n "$(session_main_window)"
check "a run over FTP loads nothing of the HTTPS way" sh -c \
    "! grep -q -e libcurl -e nimbrel-https /proc/$session_pid/maps"
history_file="$XDG_DATA_HOME/nimbrel/history.sqlite3"
check "the first fetch is in the history" session_wait 10 sh -c \
    "'$(dirname "$program")/nimbrel-cli' history --file '$history_file' EHAM | grep -q '\"EHAM '"
check "its helper kept it: the program never opened the file" sh -c \
    "! ls -l /proc/$session_pid/fd | grep -q history.sqlite3"
check "nor loaded SQLite" sh -c "! grep -q libsqlite3 /proc/$session_pid/maps"
check "the pictures it drew are kept for the next start" sh -c \
    "find '$HOME/.cache' -path '*/pictures/*.argb' | grep -q ."
check "the window's class is the launcher's StartupWMClass" sh -c \
    "xprop -id '$(session_main_window)' WM_CLASS | grep -q '\"Nimbrel\"\$'"
if [ -n "$prefix" ]; then
    check "the installed program finds its station database in the prefix" \
        test "$(realpath -m "$(session_state databaseFolder)")" = "$prefix/share/nimbrel"
    check "the installed program finds its help page in the prefix" \
        test "$(realpath -m "$(session_state helpFile)")" = "$prefix/share/nimbrel/NBRHelp.html"
fi

# 3. A second copy tells the user and ends; the first keeps running.
"$program" >"$session_tmp/second.log" 2>&1 &
second=$!
session_wait 10 sh -c "xdotool search --onlyvisible --pid $second" >/dev/null
box=$(xdotool search --onlyvisible --pid "$second" 2>/dev/null | head -n 1)
check "a second copy shows its message" test -n "$box"
if [ -n "$box" ]; then
    xdotool windowfocus --sync "$box" key Return >/dev/null 2>&1 || true
fi
check "a second copy ends after its message" session_wait 10 sh -c "! kill -0 $second"
kill "$second" 2>/dev/null || true
wait "$second" 2>/dev/null
check "the second copy exits with status 0" test $? -eq 0
check "the first copy keeps running" kill -0 "$session_pid"

# 4. The session ends the program: it exits cleanly and saves its settings.
kill -TERM "$session_pid"
check "SIGTERM ends the program" session_wait 10 sh -c "! kill -0 $session_pid"
wait "$session_pid"
status=$?
check "the program exits with status 0" test "$status" -eq 0
check "the settings file was saved" grep -q '^AppVersion=' "$session_settings"
check "the saved settings keep the stations" grep -q '^LocationCode4=CYHY' "$session_settings"
autostart="$XDG_CONFIG_HOME/autostart/Nimbrel.desktop"
check "the autostart entry was written" test -f "$autostart"
check "the autostart entry is a valid desktop entry" quiet desktop-file-validate "$autostart"

# session_item: the program's StatusNotifierItem as "SERVICE PATH", from the panel's watcher.
session_item() {
    local item
    item=$(session_bus_property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems |
        grep -o '[^ ]*StatusNotifierItem[^ ]*' | head -n 1)
    [ -n "$item" ] || return 1
    case "$item" in
        */*) echo "${item%%/*} /${item#*/}" ;;
        *) echo "$item /StatusNotifierItem" ;;
    esac
}

session_notifications() {
    grep -c "member=$1\b" "$session_tmp/notifications.log" 2>/dev/null
}

# session_state_is KEY VALUE: the debug state holds KEY=VALUE now.
session_state_is() {
    test "$(session_state "$1")" = "$2"
}

# session_notified COUNT METHOD: the notification server was asked METHOD exactly COUNT times.
session_notified() {
    test "$(session_notifications "$2")" = "$1"
}

# session_end_saving NAME: SIGTERM ends the program with status 0, its settings saved.
session_end_saving() {
    kill -TERM "$session_pid"
    check "$1: SIGTERM ends the program" session_wait 10 sh -c "! kill -0 $session_pid"
    kill -KILL "$session_pid" 2>/dev/null # a program still running fails below, never hangs
    wait "$session_pid"
    check "$1: the program exits with status 0" test $? -eq 0
    check "$1: the settings file was saved" grep -q '^AppVersion=' "$session_settings"
}

# 5. A StatusNotifierItem desktop.
session_start_display
session_start_bus
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications'" \
    >"$session_tmp/notifications.log" 2>&1 &
session_pids+=($!)
session_start_status_tray
session_write_settings 1 0
session_start_program "$program"
check "StatusNotifierItem desktop: first refresh shows a decoded report" session_wait 20 session_refreshed
check "StatusNotifierItem desktop: the tray is a StatusNotifierItem" \
    test "$(session_state trayKind)" = StatusNotifierItem
check "StatusNotifierItem desktop: the icon is registered with the panel" session_wait 10 session_item
read -r item_service item_path <<<"$(session_item)"
check "the balloon is one desktop notification" session_wait 10 session_notified 1 Notify
check "the notification names the program's launcher" \
    grep -q 'string "org.nimbrel.Nimbrel"' "$session_tmp/notifications.log"
if [ -n "${NIMBREL_SCREENSHOTS:-}" ]; then
    sleep 1 # the notification's window fades in
    import -window root "$NIMBREL_SCREENSHOTS/nimbrel-status-notifier.png"
fi
check "the tray keeps its weather picture while the notification shows" sh -c \
    "dbus-send --session --print-reply=literal --dest='$item_service' '$item_path' \
     org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierItem string:Status |
     grep -qw Active"
activate() {
    dbus-send --session --type=method_call --dest="$item_service" "$item_path" \
        org.kde.StatusNotifierItem.Activate int32:0 int32:0
}
activate
check "a click on the icon hides the window" session_wait 10 session_state_is windowVisible 0
activate
check "a second click shows it again" session_wait 10 session_state_is windowVisible 1
check "the notification is taken down after 10 seconds" \
    session_wait 15 session_notified 1 CloseNotification
check "no second (empty) notification is sent" session_notified 1 Notify
session_end_saving "StatusNotifierItem desktop"

# 6. Wayland: a native client of a compositor that has no tray; the window stays reachable on the
#    task bar (a minimized start), and the session's end saves the settings.
export DBUS_SESSION_BUS_ADDRESS=disabled:
session_start_weston
session_write_settings 1 0
sed -i 's/^MinimizeOnStartup=0/MinimizeOnStartup=1/' "$session_settings"
QT_QPA_PLATFORM=wayland session_start_program "$program"
check "Wayland: first refresh shows a decoded report" session_wait 20 session_refreshed
check "Wayland: the program runs as a Wayland client" test "$(session_state platform)" = wayland
check "Wayland: there is no tray" session_state_is trayAvailable 0
check "Wayland: without a tray the window is not hidden" session_state_is windowVisible 1
session_end_saving Wayland

# 7. Wayland with a keyboard: weston nested in the X display passes the display's keys on (its
#    kiosk shell gives the program's window the keyboard), and Alt+F, E (File, Exit) ends the
#    program with its settings saved.
session_start_display
session_start_weston x11-backend.so kiosk-shell.so
session_write_settings 1 0
QT_QPA_PLATFORM=wayland session_start_program "$program"
check "Wayland with a keyboard: first refresh shows a decoded report" session_wait 20 session_refreshed
check "Wayland with a keyboard: a Wayland client" session_state_is platform wayland
compositor() {
    xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p' | grep .
}
session_wait 10 compositor
# The compositor maps the window in its own time: type again until the program has ended. A
# click first, as a user's, makes the compositor give the window the keyboard (without it the
# keys went nowhere in about one run in four under load).
for _ in 1 2 3 4 5; do
    xdotool mousemove 500 350 windowfocus "$(compositor)" click 1 sleep 0.3 \
        key alt+f sleep 0.5 key e >/dev/null 2>&1
    session_wait 2 sh -c "! kill -0 $session_pid" && break
done
check "Wayland: File, Exit from the keyboard ends the program" sh -c "! kill -0 $session_pid"
kill -KILL "$session_pid" 2>/dev/null
wait "$session_pid"
check "Wayland: the program exits with status 0" test $? -eq 0
check "Wayland: the settings file was saved" grep -q '^AppVersion=' "$session_settings"

checks_report
