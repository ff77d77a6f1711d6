#!/usr/bin/env bash
# PCRE2 for the Windows cross build. Debian ships no MinGW build of it, so this builds Debian's
# own source package of pcre2 with MinGW-w64: static, JIT on. The source comes through a private
# apt configuration with deb-src entries for the archive the machine already uses; the machine's
# own apt sources stay as they are. Everything lives in build/windows-deps, built once.
# Usage: scripts/pcre2-mingw.sh   (run from anywhere; root or sudo for apt-get update)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
prefix=$deps/prefix
stamp=$prefix/.pcre2-built
[ -f "$stamp" ] && exit 0

apt_dir=$deps/apt
src_dir=$deps/src
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$src_dir"

# deb-src lines for the Debian archives among the machine's enabled sources, one-line and deb822
# alike (third-party archives publish no sources and are left out).
debian_sources() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" { print }' "$file"
    done | sed -E 's/^deb[[:space:]]+/deb-src /'
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'function flush() {
                 if (types ~ /(^| )deb( |$)/ && enabled != "no") {
                     n = split(suites, s, " ")
                     for (i = 1; i <= n; i++) {
                         opt = signed != "" ? "[signed-by=" signed "] " : ""
                         split(uris, u, " "); print "deb-src " opt u[1] " " s[i] " " comps
                     }
                 }
                 types = uris = suites = comps = signed = enabled = ""
             }
             /^[[:space:]]*$/ { flush(); next }
             /^#/ { next }
             { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ /, "")
               if (key == "types") types = $0; else if (key == "uris") uris = $0
               else if (key == "suites") suites = $0; else if (key == "components") comps = $0
               else if (key == "signed-by") signed = $0; else if (key == "enabled") enabled = $0 }
             END { flush() }' "$file"
    done
}
debian_sources | grep -E '[[:space:]]https?://[^ ]+/debian(-security)?/?[[:space:]]' \
    | sort -u >"$apt_dir/sources.list"
if [ ! -s "$apt_dir/sources.list" ]; then
    echo "pcre2-mingw: no Debian archive among the machine's apt sources" >&2
    exit 1
fi

apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
          -o "APT::Sandbox::User=root")

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if ! ls "$src_dir"/pcre2_*.dsc >/dev/null 2>&1; then
    "${sudo[@]}" apt-get "${apt_opts[@]}" update
    # The newest source first; an archive that lists a version but refuses its files (a
    # security archive's mirror may) falls back to the next one.
    versions=$(apt-cache "${apt_opts[@]}" showsrc pcre2 | awk '/^Version:/ { print $2 }' | sort -Vru)
    fetched=
    for version in $versions; do
        if (cd "$src_dir" && "${sudo[@]}" apt-get "${apt_opts[@]}" source --download-only \
                "pcre2=$version"); then
            fetched=$version
            break
        fi
        echo "pcre2-mingw: the source of pcre2 $version could not be fetched; trying an older one" >&2
        rm -f "$src_dir"/pcre2_"${version#*:}".dsc
    done
    if [ -z "$fetched" ]; then
        echo "pcre2-mingw: no source of pcre2 could be fetched from ${apt_dir}/sources.list" >&2
        exit 1
    fi
    [ ${#sudo[@]} -eq 0 ] || "${sudo[@]}" chown -R "$(id -u):$(id -g)" "$apt_dir" "$src_dir"
fi
dsc=$(ls "$src_dir"/pcre2_*.dsc | sort -V | tail -n 1)
rm -rf "$src_dir/pcre2"
# Unpacked with Debian's patches applied, as Debian builds it.
dpkg-source --no-check -x "$dsc" "$src_dir/pcre2" >/dev/null

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
basename "$dsc" >"$stamp"
