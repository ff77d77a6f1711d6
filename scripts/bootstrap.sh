#!/usr/bin/env bash
# Installs the Debian packages this project needs that the machine lacks. Checks before it
# installs, refreshes the package lists only when an install needs it, and uses sudo only when
# not root. Usage: scripts/bootstrap.sh [build|test|run|package|windows|all]  (default: all)
# windows: the MinGW-w64 cross build and Wine to run its tests, plus PCRE2, SQLite and date/tz
# (with the tz database's text files) built for Windows.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libasio-dev libcli11-dev nlohmann-json3-dev libpcre2-dev
            libcurl4-openssl-dev libsqlite3-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev
            libhowardhinnant-date-dev tzdata)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev python3-pyftpdlib
           xvfb xauth openbox trayer xdotool x11-utils imagemagick curl openssl python3
           ca-certificates desktop-file-utils appstream man-db file clang-format clang-tidy time
           dbus-daemon dbus-bin qt6-wayland weston xfce4-panel xfce4-notifyd)
package_pkgs=(dpkg-dev fakeroot lintian file)
run_pkgs=(ca-certificates python3-pyftpdlib xvfb xauth openbox trayer x11-utils xdotool imagemagick
          qt6-wayland)
# GoogleTest comes as source (/usr/src/googletest) and is built with the cross compiler; dpkg-dev
# unpacks Debian's pcre2, sqlite3, date and tzdata source packages; tclsh makes SQLite's
# single-file source.
windows_pkgs=(cmake ninja-build pkg-config g++-mingw-w64-x86-64-posix wine wine64 libasio-dev libcli11-dev
              nlohmann-json3-dev googletest dpkg-dev gcc make tcl python3-pyftpdlib ca-certificates)
# Qt's cross build runs the host's Qt tools of the same version; chmcmd compiles the help file.
windows_gui_pkgs=(qt6-base-dev qt6-base-dev-tools fp-utils nsis xvfb xauth openbox trayer xdotool
                  x11-utils imagemagick)

case "${1:-all}" in
    build) wanted=("${build_pkgs[@]}") ;;
    test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
    package) wanted=("${build_pkgs[@]}" "${package_pkgs[@]}") ;;
    windows) wanted=("${windows_pkgs[@]}") ;;
    windows-gui) wanted=("${windows_pkgs[@]}" "${windows_gui_pkgs[@]}") ;;
    all) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}") ;;
    *) echo "usage: $0 [build|test|run|package|windows|windows-gui|all]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    # A fresh machine has no package lists; an old list may lack a version: refresh and retry once.
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
fi
if [ "${1:-all}" = windows ] || [ "${1:-all}" = windows-gui ]; then
    "$(dirname "$0")/pcre2-mingw.sh"
    "$(dirname "$0")/sqlite-mingw.sh"
    "$(dirname "$0")/date-mingw.sh"
fi
