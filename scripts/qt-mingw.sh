#!/usr/bin/env bash
# Qt 6 for the Windows cross build, from Debian's own qt6-base and qt6-svg source packages,
# built with MinGW-w64 against the host tools of the same version (qt6-base-dev-tools: moc, rcc,
# uic). Only what the desktop program uses: Core, Gui, Widgets, Svg and the Windows platform
# plugin, shared, release. Installed in build/windows-deps/qt6, built once; qt6-base is kept
# apart from Qt Svg, so that a failure in the second keeps the long first. The stamps record
# the sources and how long each part took.
# Usage: scripts/qt-mingw.sh   (JOBS, default nproc)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
qt=$deps/qt6
src=$deps/src
stamp=$qt/.qt-built
base_stamp=$qt/.qt6-base-built
[ -f "$stamp" ] && exit 0
jobs=${JOBS:-$(nproc)}

# The host Qt must be the very version that is cross-built: its tools generate code for it.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [ -z "$host_version" ]; then
    echo "qt-mingw: qt6-base-dev-tools is not installed (scripts/bootstrap.sh windows-gui)" >&2
    exit 1
fi

if [ ! -f "$base_stamp" ]; then
    start=$(date +%s)
    base_dsc=$("$root/scripts/debian-source.sh" qt6-base "$src/qt6-base")
    case "$base_dsc" in
        qt6-base_"${host_version%%-*}"*) ;;
        *) echo "qt-mingw: source $base_dsc does not match the host tools $host_version" >&2; exit 1 ;;
    esac
    # Each feature left out is one the program does not use; the bundled third-party libraries
    # are taken over the system's, so nothing of the host leaks into the Windows build. Debian's
    # source lacks the Wintab headers (removed as non-free), hence no tablet events. OpenGL goes
    # through INPUT_opengl, as configure's -no-opengl does: FEATURE_opengl alone leaves dynamic
    # OpenGL on, and the Windows plugin then fails to compile.
    cmake -S "$src/qt6-base" -B "$deps/qt6-base-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt" -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_dbus=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_icu=OFF -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF -DFEATURE_jpeg=OFF \
        -DFEATURE_gif=OFF -DFEATURE_androiddeployqt=OFF -DFEATURE_glib=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
    cmake --build "$deps/qt6-base-build" -j "$jobs"
    cmake --install "$deps/qt6-base-build" >/dev/null
    echo "$base_dsc built in $(( $(date +%s) - start )) s with $jobs jobs" >"$base_stamp"
fi

# Qt Svg against the Qt just installed, through its qt-cmake, which carries the cross toolchain.
start=$(date +%s)
svg_dsc=$("$root/scripts/debian-source.sh" qt6-svg "$src/qt6-svg")
"$qt/bin/qt-cmake" -S "$src/qt6-svg" -B "$deps/qt6-svg-build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
cmake --build "$deps/qt6-svg-build" -j "$jobs"
cmake --install "$deps/qt6-svg-build" >/dev/null
{
    cat "$base_stamp"
    echo "$svg_dsc built in $(( $(date +%s) - start )) s with $jobs jobs"
} >"$stamp.new"
mv "$stamp.new" "$stamp"
