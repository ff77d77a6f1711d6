#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in the throw-away prefix given first, making the
# prefix on first use. Usage: scripts/wine-run.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs .NET or the HTML engine, and their installers would ask.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# No window may open (there is no display in CI).
unset DISPLAY WAYLAND_DISPLAY
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)

mkdir -p "$(dirname "$prefix")"
# Tests run in parallel: one of them makes the prefix, the others wait for it.
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
    "$wine64" wineboot -i >/dev/null 2>&1
    # Keeps the wine server up between test programs, which saves its start on every run.
    wineserver -p 120 || true
fi
flock -u 9
exec 9>&-
exec "$wine64" "$@"
