#!/usr/bin/env bash
# Installs the programs built in BUILD_DIR into throw-away prefixes and checks what a desktop
# reads of them: the launcher, the metainfo and the manual pages validate cleanly, the icon
# theme has every size, DESTDIR is honoured, the installed program runs (smoke test) with its
# data found in the prefix, and a prefix without the data gives a clear message.
# Prints "N passed, N failed"; exits 1 when a check failed.
set -uo pipefail
build=${1:-build/default}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
app_id=org.nimbrel.Nimbrel

source "$(dirname "$0")/checks.sh"
man_clean() {
    local out
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$1" 2>&1 >/dev/null)
    [ -z "$out" ] || { printf '%s\n' "$out"; return 1; }
}

check "cmake --install into a prefix" cmake --install "$build" --prefix "$prefix"
check "DESTDIR is honoured" sh -c \
    "DESTDIR='$work/dest' cmake --install '$build' --prefix /usr >/dev/null &&
     test -x '$work/dest/usr/bin/nimbrel-cli' && test -s '$work/dest/usr/share/nimbrel/Cities.ini'"
for file in bin/nimbrel bin/nimbrel-cli share/nimbrel/Countries.ini share/nimbrel/Cities.ini \
    share/nimbrel/Zones.ini share/nimbrel/NBRHelp.html share/applications/$app_id.desktop \
    share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/$app_id.svg \
    share/man/man1/nimbrel.1.gz share/man/man1/nimbrel-cli.1.gz; do
    check "installs $file" test -s "$prefix/$file"
done
for size in 16 22 24 32 48 64 128 256; do
    check "icon ${size}x${size} is a ${size}-pixel PNG" sh -c \
        "file '$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png' |
         grep -q 'PNG image data, $size x $size'"
done
check "the desktop entry validates" quiet desktop-file-validate "$prefix/share/applications/$app_id.desktop"
check "the metainfo validates" appstreamcli validate --no-net --pedantic \
    "$prefix/share/metainfo/$app_id.metainfo.xml"
check "the metainfo carries this version" \
    grep -q "<release version=\"$("$prefix/bin/nimbrel-cli" --version | cut -d' ' -f2)\"" \
    "$prefix/share/metainfo/$app_id.metainfo.xml"
check "nimbrel.1 renders without warnings" man_clean "$prefix/share/man/man1/nimbrel.1.gz"
check "nimbrel-cli.1 renders without warnings" man_clean "$prefix/share/man/man1/nimbrel-cli.1.gz"
check "the installed nimbrel-cli finds the station database" sh -c \
    "'$prefix/bin/nimbrel-cli' stations Netherlands | grep -q EHAM"
check "the installed nimbrel-cli reads a history (nothing stored: no output, exit 0)" sh -c \
    "test -z \"\$('$prefix/bin/nimbrel-cli' history --file '$work/no-history.sqlite3' EHAM)\""
# Nothing listens on port 1: a run that got as far as connecting found and loaded the module.
https_run() {
    local out
    out=$("$1" fetch --https --server 127.0.0.1:1 EHAM 2>&1) # a failed run: exit status 1
    grep -q "$2" <<<"$out" || { printf '%s\n' "$out"; return 1; }
}
if [ -e "$prefix/lib/nimbrel/nimbrel-https.so" ]; then
    check "the installed nimbrel-cli loads its HTTPS module" https_run "$prefix/bin/nimbrel-cli" \
        "ERROR: HTTPS error: "
fi

# A prefix holding only the programs: clear messages, no crash.
mkdir -p "$work/bare/bin"
cp "$prefix/bin/nimbrel-cli" "$work/bare/bin/"
check "without a station database nimbrel-cli says so and exits 1" sh -c \
    "'$work/bare/bin/nimbrel-cli' stations Netherlands 2>&1 | grep -qi 'not found';
     '$work/bare/bin/nimbrel-cli' stations Netherlands >/dev/null 2>&1; [ \$? -eq 1 ]"
check "without its HTTPS module nimbrel-cli says it is not installed" https_run \
    "$work/bare/bin/nimbrel-cli" "module nimbrel-https.so is not installed"

status=0
checks_report || status=1
"$root/scripts/smoke.sh" --installed "$prefix" || status=1
exit "$status"
