#!/usr/bin/env bash
# Smoke test of the desktop program built in BUILD_DIR (default build/default), as a user's
# session would run it: on a virtual display with a tray host, fetching from a local FTP server.
# Checks that it answers --help and --version without a display, starts with its tray icon,
# shows a fetched report, refuses a second copy, and saves its settings when the session ends
# it. With --installed PREFIX it runs the program installed there and checks that it finds its
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

checks_report
