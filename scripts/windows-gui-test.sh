#!/usr/bin/env bash
# The Windows installer and the installed program under Wine, as a user would meet them: in a
# throw-away Wine prefix on a virtual X display with a tray host (Wine docks its tray icons into
# the X tray), the installer runs silently, the program starts from Program Files, fetches from
# a local FTP server, refuses a second copy, opens its help, and ends through File, Exit; then
# the uninstaller runs silently. An installer built without the desktop program (no Qt for
# Windows) is checked for everything but the program's own run. Screenshots of the window, the
# tray and a balloon go to SHOTS (default build/windows-gui-test/screenshots).
# Prints "N passed, N failed"; exits 1 when a check failed.
# Usage: scripts/windows-gui-test.sh [INSTALLER]   (default build/windows/Nimbrel-*-win64.exe)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
installer=${1:-$(ls build/windows/Nimbrel-*-win64.exe 2>/dev/null | sort -V | tail -n 1)}
if [ ! -f "$installer" ]; then
    echo "windows-gui-test: no installer; make windows-installer builds it" >&2
    exit 1
fi
installer=$(cd "$(dirname "$installer")" && pwd)/$(basename "$installer")
shots=${SHOTS:-$root/build/windows-gui-test/screenshots}
linux_program=${LINUX_PROGRAM:-$root/build/default/app/qt/nimbrel}
mkdir -p "$shots"

source scripts/desktop-session.sh
source scripts/checks.sh

# Wine's own state lives in the session: the prefix, and the home folder its shell folders
# point into. No menu entries reach the desktop of the machine (winemenubuilder); no Mono or
# Gecko installer asks for a download (mscoree, mshtml).
session_user_folder
export WINEPREFIX=$session_tmp/wineprefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
stop_wine() { wineserver -k 2>/dev/null || true; }
trap 'stop_wine; session_cleanup' EXIT

session_start_display
session_start_wm
session_start_tray
session_start_ftp
"$wine64" wineboot -i >/dev/null 2>&1

drive_c=$WINEPREFIX/drive_c
install_dir="$drive_c/Program Files/Nimbrel"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Nimbrel"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
appdata=$drive_c/users/$(id -un)/AppData/Roaming
[ -d "$appdata" ] || appdata=$(ls -d "$drive_c"/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
settings=$appdata/Nimbrel.ini

# reg_value KEY NAME: the data of one registry value (64-bit view), or nothing.
reg_value() {
    "$wine64" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
screenshot() { import -window root "$shots/$1.png" 2>/dev/null; }
# trayer's panel, 2 pixels wide when empty, widens for each icon docked into it.
tray_holds_icon() {
    local width
    width=$(xwininfo -root -tree | sed -n 's/.*"panel": ("panel" "trayer") *\([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -ge 16 ]
}
# crlf_only FILE: every line of FILE ends in CR LF.
crlf_only() { ! LC_ALL=C grep -qv $'\r$' "$1"; }
# wine_window NAME: the id of a visible Wine window of that exact title.
wine_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1; }

# 1. The silent install.
"$wine64" "$installer" /S >/dev/null 2>&1
check "the installer exits with status 0" test $? -eq 0
for file in nimbrel-cli.exe Countries.ini Cities.ini NBRHelp.chm Uninstall.exe; do
    check "$file is installed under Program Files" test -f "$install_dir/$file"
done
check "the Apps list names the program" test "$(reg_value "$uninstall_key" DisplayName)" = Nimbrel
check "the Apps list has the version" test "$(reg_value "$uninstall_key" DisplayVersion)" = 1.6.0
check "the Apps list has the publisher" \
    test "$(reg_value "$uninstall_key" Publisher)" = "The Nimbrel developers"
check "the Apps list has an icon" test -n "$(reg_value "$uninstall_key" DisplayIcon)"
check "the Start menu offers the uninstaller" test -f "$start_menu/Uninstall.lnk"

# 2. The installed command-line tool finds the station database beside it and fetches.
check "the installed nimbrel-cli fetches from the FTP server" sh -c \
    "'$wine64' '$install_dir/nimbrel-cli.exe' fetch --server 127.0.0.1:$session_ftp_port EHAM |
     tr -d '\r' | grep -q 'EHAM'"
check "the installed nimbrel-cli reads the station database beside it" sh -c \
    "'$wine64' '$install_dir/nimbrel-cli.exe' stations Netherlands | tr -d '\r' |
     grep -q 'EHAM'"

# 3. The desktop program, when the installer carries it.
state_windows=$("$wine64" winepath -w "$session_tmp/state" 2>/dev/null | tr -d '\r')
program='C:\Program Files\Nimbrel\nimbrel.exe'
start_windows_program() {
    rm -f "$session_tmp/state"
    NIMBREL_DEBUG_STATE=$state_windows "$wine64" "$program" --server "127.0.0.1:$session_ftp_port" \
        >"$session_tmp/program.log" 2>&1 &
    session_pid=$!
}
if [ -f "$install_dir/nimbrel.exe" ]; then
    check "the Start menu offers the program" test -f "$start_menu/Nimbrel.lnk"
    check "the Windows platform plugin is beside the program" \
        test -f "$install_dir/platforms/qwindows.dll"
    start_windows_program
    check "the first start shows the welcome box" session_wait 60 sh -c \
        "xdotool search --onlyvisible --name '^Nimbrel\$' | grep -q ."
    session_wait 5 false
    screenshot welcome
    box=$(wine_window Nimbrel)
    [ -z "$box" ] || xdotool windowactivate --sync "$box" key Return >/dev/null 2>&1
    check "the first refresh shows a decoded report" session_wait 60 session_refreshed
    check "the tray hint summarises the primary station" sh -c \
        "grep -q '^trayHint=Amsterdam Airport Schiphol' '$session_tmp/state'"
    check "the tray icon is in the tray host" test "$(session_state trayVisible)" = 1
    check "the tray host holds Wine's icon" session_wait 10 tray_holds_icon
    screenshot window-tray-balloon
    window=$(wine_window Nimbrel)

    # A second start is refused with a message box and ends; the first copy runs on.
    "$wine64" "$program" >"$session_tmp/second.log" 2>&1 &
    second=$!
    check "a second start shows a message box" session_wait 30 sh -c \
        "[ \$(xdotool search --onlyvisible --name '^Nimbrel\$' | wc -l) -ge 2 ]"
    screenshot already-running
    box=$(wine_window Nimbrel)
    [ -z "$box" ] || xdotool windowactivate --sync "$box" key Return >/dev/null 2>&1
    check "the second start ends after its message" session_wait 30 sh -c "! kill -0 $second"
    wait "$second" 2>/dev/null
    check "the second start exits with status 0" test $? -eq 0
    check "the first copy keeps running" kill -0 "$session_pid"

    # F1 opens the help file in Wine's HTML Help viewer.
    [ -z "$window" ] || xdotool windowactivate --sync "$window" key F1 >/dev/null 2>&1
    check "F1 opens the HTML Help viewer" session_wait 30 sh -c \
        "xdotool search --onlyvisible --name '^Nimbrel Help\$' | grep -q ."
    screenshot help
    help=$(wine_window 'Nimbrel Help')
    [ -z "$help" ] || xdotool windowclose "$help" >/dev/null 2>&1

    # File, Exit ends the program, which saves its settings and its Run value.
    [ -z "$window" ] || xdotool windowactivate --sync "$window" key alt+f sleep 0.5 key e \
        >/dev/null 2>&1
    check "File, Exit ends the program" session_wait 30 sh -c "! kill -0 $session_pid"
    wait "$session_pid" 2>/dev/null
    check "the program exits with status 0" test $? -eq 0
    check "the settings file is written under %APPDATA%" test -f "$settings"
    check "the Run value names the installed program" \
        test "$(reg_value "$run_key" Nimbrel)" = "$program"
    if [ -x "$linux_program" ]; then
        # The same first run on Linux writes the same bytes.
        session_start_program "$linux_program"
        session_wait 30 session_refreshed
        box=$(xdotool search --onlyvisible --name '^Nimbrel$' 2>/dev/null | head -n 1)
        [ -z "$box" ] || xdotool windowactivate --sync "$box" key Return >/dev/null 2>&1
        kill -TERM "$session_pid"
        wait "$session_pid" 2>/dev/null
        # Byte for byte but for the line ends: a new file gets CR LF on Windows, as the
        # system's own profile functions write it, and LF on Linux.
        check "the settings file has Windows line ends" crlf_only "$settings"
        check "the settings file is byte for byte the one Linux writes, line ends aside" sh -c \
            "tr -d '\r' <'$settings' | cmp - '$session_settings'"
    else
        echo "skip - settings compared with Linux: $linux_program is not built"
    fi
else
    echo "skip - the desktop program: the installer was built without it (no Qt for Windows)"
    # The uninstaller's part is checked all the same: a Run value and a settings file as the
    # program leaves them.
    "$wine64" reg add "$run_key" /v Nimbrel /d "$program" /f >/dev/null 2>&1
    printf '[Preferences]\r\nMinimizeOnStartup=0\r\n' >"$settings"
    check "a Run value is there to remove" test "$(reg_value "$run_key" Nimbrel)" = "$program"
fi

# 4. The silent uninstall: everything installed goes, the user's settings stay. The uninstaller
# copies itself away and runs from there, so its end is awaited by what it removes.
"$wine64" "$install_dir/Uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller empties Program Files" session_wait 60 sh -c "[ ! -e '$install_dir' ]"
check "the Start menu entries are gone" test ! -e "$start_menu"
check "the Apps list entry is gone" sh -c "! '$wine64' reg query '$uninstall_key'"
check "the Run value is gone" test -z "$(reg_value "$run_key" Nimbrel)"
check "the settings file stays" test -f "$settings"

checks_report
