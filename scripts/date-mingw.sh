#!/usr/bin/env bash
# Howard Hinnant's date/tz for the Windows cross build, with the tz database it reads there.
# Debian ships no MinGW build of it, so this builds Debian's source package (scripts/
# debian-source.sh) with MinGW-w64 as a static library. Windows has no zoneinfo folder, so the
# library reads the tz database's text files instead; they come from Debian's tzdata source
# package and are installed into prefix/share/tzdata, which the build copies beside the programs.
# Everything lives in build/windows-deps, built once.
# Usage: scripts/date-mingw.sh   (run from anywhere; root or sudo for apt-get update)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
prefix=$deps/prefix
stamp=$prefix/.date-built
[ -f "$stamp" ] && exit 0

src_dir=$deps/src
"$root/scripts/debian-source.sh" howardhinnant-date "$src_dir/date"
"$root/scripts/debian-source.sh" tzdata "$src_dir/tzdata"

# MANUAL_TZ_DB: the text database at a folder the program names, never a download.
cmake -S "$src_dir/date" -B "$deps/date-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_TZ_LIB=ON \
    -DMANUAL_TZ_DB=ON -DUSE_SYSTEM_TZ_DB=OFF -DENABLE_DATE_TESTING=OFF >/dev/null
cmake --build "$deps/date-build" -j "$(nproc)"
cmake --install "$deps/date-build" >/dev/null

# The files the library parses, and the version it reports. Indented comment lines go: the
# library's reader takes only unindented ones for comments and prints the others on stderr.
tzdata=$prefix/share/tzdata
rm -rf "$tzdata"
mkdir -p "$tzdata"
for file in africa antarctica asia australasia backward etcetera europe northamerica \
            southamerica leapseconds version; do
    sed -E '/^[[:space:]]+#/d' "$src_dir/tzdata/$file" >"$tzdata/$file"
done
# On Windows the library also loads the mapping of Windows zone names to tz names, which only
# the current_zone() lookup uses; nimbrel never asks for the machine's own zone, so it gets an
# empty mapping in the form the library's reader requires.
cat >"$tzdata/windowsZones.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8" ?>
<supplementalData>
<windowsZones>
<mapTimezones otherVersion="0" typeVersion="0">
</mapTimezones>
</windowsZones>
</supplementalData>
XML
basename "$(ls "$src_dir"/howardhinnant-date_*.dsc | sort -V | tail -n 1)" >"$stamp"
