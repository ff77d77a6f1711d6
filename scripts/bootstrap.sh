#!/usr/bin/env bash
# Installs the Debian packages this project needs that the machine lacks. Checks before it
# installs, refreshes the package lists only when an install needs it, and uses sudo only when
# not root. Usage: scripts/bootstrap.sh [build|test|run|all]  (default: all)
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libasio-dev libcli11-dev nlohmann-json3-dev libpcre2-dev
            qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6-dev)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev python3-pyftpdlib
           xvfb xauth trayer xdotool x11-utils imagemagick curl time)
run_pkgs=(python3-pyftpdlib xvfb xauth trayer x11-utils xdotool imagemagick)

case "${1:-all}" in
    build) wanted=("${build_pkgs[@]}") ;;
    test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
    all) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    *) echo "usage: $0 [build|test|run|all]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
echo "bootstrap: installing ${missing[*]}"
# A fresh machine has no package lists; an old list may lack a version: refresh and retry once.
if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
