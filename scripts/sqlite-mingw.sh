#!/usr/bin/env bash
# SQLite for the Windows cross build. Debian ships no MinGW build of it, so this builds Debian's
# own source package of sqlite3 (scripts/debian-source.sh): the single-file amalgamation is made
# on this machine (it needs tclsh), then compiled with MinGW-w64 into a static library with a
# pkg-config file beside PCRE2's. Everything lives in build/windows-deps, built once.
# Usage: scripts/sqlite-mingw.sh   (run from anywhere; root or sudo for apt-get update)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
prefix=$deps/prefix
stamp=$prefix/.sqlite3-built
[ -f "$stamp" ] && exit 0

src_dir=$deps/src
build=$deps/sqlite3-build
"$root/scripts/debian-source.sh" sqlite3 "$src_dir/sqlite3"
rm -rf "$build"
mkdir -p "$build" "$prefix/include" "$prefix/lib/pkgconfig"
(cd "$build" && "$src_dir/sqlite3/configure" --disable-tcl >/dev/null && make sqlite3.c >/dev/null)

# The options Debian's own build and SQLite's documentation recommend for an embedded copy.
mingw=x86_64-w64-mingw32
"$mingw-gcc-posix" -O2 -c "$build/sqlite3.c" -o "$build/sqlite3.o" \
    -DSQLITE_THREADSAFE=1 -DSQLITE_DEFAULT_WAL_SYNCHRONOUS=1 -DSQLITE_DQS=0 \
    -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=1
"$mingw-ar" rcs "$prefix/lib/libsqlite3.a" "$build/sqlite3.o"
cp "$build/sqlite3.h" "$build/sqlite3ext.h" "$prefix/include/"
version=$(cat "$src_dir/sqlite3/VERSION")
cat >"$prefix/lib/pkgconfig/sqlite3.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SQLite
Description: SQL database engine (static, for MinGW-w64)
Version: $version
Libs: -L\${libdir} -lsqlite3
Cflags: -I\${includedir}
PC
basename "$(ls "$src_dir"/sqlite3_*.dsc | sort -V | tail -n 1)" >"$stamp"
