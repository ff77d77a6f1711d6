#!/usr/bin/env bash
# Runs a test program on an X display and a session bus of its own (Xvfb, and dbus-daemon with
# session-bus.conf beside this script), so Qt's tray talks D-Bus to the test's fakes only.
set -uo pipefail
folder=$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-bus.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 100); do
    [ -s "$folder/display" ] && break
    sleep 0.1
done
if [ ! -s "$folder/display" ]; then
    echo "run-on-private-session.sh: Xvfb did not start" >&2
    exit 1
fi
DISPLAY=":$(head -n 1 "$folder/display")" QT_QPA_PLATFORM=xcb \
    dbus-run-session --config-file="$(dirname "$0")/session-bus.conf" -- "$@"
