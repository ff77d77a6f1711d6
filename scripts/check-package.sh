#!/usr/bin/env bash
# Checks the Debian package built by `make package` (BUILD_DIR default build/package): its file
# list, lintian, and a real install (as root): the programs run from /usr/bin, and removing the
# package leaves nothing of it in /usr. Prints "N passed, N failed"; exits 1 when a check failed.
set -uo pipefail
build=${1:-build/package}
deb=$(ls "$build"/package/nimbrel_*.deb 2>/dev/null | head -n 1)
work=$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ -z "$deb" ]; then
    echo "check-package.sh: no package in $build/package (run make package)" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "check-package.sh: installing the package needs root" >&2
    exit 1
fi

source "$(dirname "$0")/checks.sh"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for file in /usr/bin/nimbrel /usr/bin/nimbrel-cli /usr/share/nimbrel/Countries.ini \
    /usr/share/nimbrel/Cities.ini /usr/share/nimbrel/Zones.ini /usr/share/nimbrel/NBRHelp.html \
    /usr/share/applications/org.nimbrel.Nimbrel.desktop \
    /usr/share/metainfo/org.nimbrel.Nimbrel.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/org.nimbrel.Nimbrel.svg \
    /usr/share/icons/hicolor/48x48/apps/org.nimbrel.Nimbrel.png \
    /usr/share/man/man1/nimbrel.1.gz /usr/share/man/man1/nimbrel-cli.1.gz \
    /usr/share/doc/nimbrel/copyright /usr/share/doc/nimbrel/changelog.Debian.gz \
    "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/nimbrel/nimbrel-https.so"; do
    check "the package holds $file" grep -qx "$file" "$work/contents"
done
check "the package holds nothing outside /usr" sh -c "! grep -v '^/usr' '$work/contents' | grep -vx '/'"
check "dependencies come from the binaries, and SQLite's is named" sh -c \
    "dpkg-deb -f '$deb' Depends | grep -q 'libqt6widgets6' && dpkg-deb -f '$deb' Depends | grep -q 'libpcre2-8' &&
     dpkg-deb -f '$deb' Depends | grep -q 'libsqlite3-0' &&
     dpkg-deb -f '$deb' Depends | grep -q 'libcurl'"
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
lintian_status=$?
sed 's/^/lintian: /' "$work/lintian"
check "lintian reports no errors" test "$lintian_status" -eq 0

check "dpkg -i installs the package" dpkg -i "$deb"
check "nimbrel --version runs from /usr/bin" sh -c "/usr/bin/nimbrel --version | grep -q '^nimbrel '"
check "nimbrel-cli finds the installed station database" sh -c \
    "/usr/bin/nimbrel-cli stations Netherlands | grep -q '^EHAM'"
check "nimbrel-cli reads a history from /usr/bin" sh -c \
    "/usr/bin/nimbrel-cli history --file '$work/no-history.sqlite3' EHAM"
# Nothing listens on port 1: a run that got as far as connecting found and loaded the module.
check "nimbrel-cli loads the installed HTTPS module" sh -c \
    "/usr/bin/nimbrel-cli fetch --https --server 127.0.0.1:1 EHAM | grep -q 'ERROR: HTTPS error: '"
dpkg-query -L nimbrel | grep '^/usr/' >"$work/installed"
check "dpkg -r removes the package" dpkg -r nimbrel
check "nothing of the package is left in /usr" sh -c \
    "while read -r path; do [ -f \"\$path\" ] && echo \"left: \$path\"; done <'$work/installed' | grep . && exit 1; exit 0"

checks_report
