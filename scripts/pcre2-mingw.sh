#!/usr/bin/env bash
# PCRE2 for the Windows cross build. Debian ships no MinGW build of it, so this builds Debian's
# own source package of pcre2 (fetched by debian-source.sh) with MinGW-w64: static, JIT on.
# Everything lives in build/windows-deps, built once.
# Usage: scripts/pcre2-mingw.sh   (run from anywhere; root or sudo for apt-get update)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
prefix=$deps/prefix
stamp=$prefix/.pcre2-built
[ -f "$stamp" ] && exit 0

src_dir=$deps/src
# Unpacked with Debian's patches applied, as Debian builds it.
dsc=$("$root/scripts/debian-source.sh" pcre2 "$src_dir/pcre2")

cmake -S "$src_dir/pcre2" -B "$deps/pcre2-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
    -DPCRE2_BUILD_PCRE2_8=ON -DPCRE2_BUILD_PCRE2_16=OFF -DPCRE2_BUILD_PCRE2_32=OFF \
    -DPCRE2_SUPPORT_JIT=ON -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF \
    -DPCRE2_SUPPORT_LIBBZ2=OFF -DPCRE2_SUPPORT_LIBZ=OFF -DPCRE2_SUPPORT_LIBEDIT=OFF \
    -DPCRE2_SUPPORT_LIBREADLINE=OFF >/dev/null
cmake --build "$deps/pcre2-build" -j "$(nproc)"
cmake --install "$deps/pcre2-build" >/dev/null
# Without PCRE2_STATIC the headers declare DLL imports that a static library cannot satisfy;
# this CMake build of pcre2 leaves the flag out of its pkg-config files.
sed -i -E 's/^(Cflags:.*)$/\1 -DPCRE2_STATIC/' "$prefix"/lib/pkgconfig/libpcre2-*.pc
echo "$dsc" >"$stamp"
