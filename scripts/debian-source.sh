#!/usr/bin/env bash
# Fetches a Debian source package for the Windows cross builds of third-party libraries, and
# unpacks it with Debian's patches applied, as Debian builds it. The source comes through a
# private apt configuration with deb-src entries for the archive the machine already uses; the
# machine's own apt sources stay as they are. Fetched files are kept in build/windows-deps/src.
# Prints the name of the .dsc unpacked; apt's messages go to standard error.
# Usage: scripts/debian-source.sh PACKAGE DEST   (root or sudo for apt-get update)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 PACKAGE DEST" >&2; exit 2; }
package=$1
dest=$2
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/windows-deps
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

apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
          -o "APT::Sandbox::User=root")
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

if ! ls "$src_dir/${package}"_*.dsc >/dev/null 2>&1; then
    debian_sources | grep -E '[[:space:]]https?://[^ ]+/debian(-security)?/?[[:space:]]' \
        | sort -u >"$apt_dir/sources.list"
    if [ ! -s "$apt_dir/sources.list" ]; then
        echo "debian-source: no Debian archive among the machine's apt sources" >&2
        exit 1
    fi
    # One refresh of the private lists serves every package fetched after it.
    if ! apt-cache "${apt_opts[@]}" showsrc "$package" >/dev/null 2>&1; then
        "${sudo[@]}" apt-get "${apt_opts[@]}" update >&2
    fi
    # The newest source first; an archive that lists a version but refuses its files (a
    # security archive's mirror may) falls back to the next one.
    versions=$(apt-cache "${apt_opts[@]}" showsrc "$package" | awk '/^Version:/ { print $2 }' | sort -Vru)
    fetched=
    for version in $versions; do
        if (cd "$src_dir" && "${sudo[@]}" apt-get "${apt_opts[@]}" source --download-only \
                "$package=$version") >&2; then
            fetched=$version
            break
        fi
        echo "debian-source: the source of $package $version could not be fetched; trying an older one" >&2
        rm -f "$src_dir/${package}_${version#*:}.dsc"
    done
    if [ -z "$fetched" ]; then
        echo "debian-source: no source of $package could be fetched from $apt_dir/sources.list" >&2
        exit 1
    fi
    [ ${#sudo[@]} -eq 0 ] || "${sudo[@]}" chown -R "$(id -u):$(id -g)" "$apt_dir" "$src_dir"
fi
dsc=$(ls "$src_dir/${package}"_*.dsc | sort -V | tail -n 1)
rm -rf "$dest"
dpkg-source --no-check -x "$dsc" "$dest" >/dev/null
basename "$dsc"
