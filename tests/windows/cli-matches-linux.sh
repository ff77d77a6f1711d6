#!/usr/bin/env bash
# The Windows nimbrel-cli (under Wine) against the Linux one, byte for byte: decode --lines over
# the whole report corpus, fetch from a loopback FTP server in passive and active mode, or show
# with stations in real time zones (the Windows build reads the tz database shipped beside it).
# Usage: cli-matches-linux.sh decode|fetch|show SOURCE_DIR LINUX_CLI RUNNER... WINDOWS_CLI
# Exits 77 (skipped) when there is no Linux build to compare with.
set -euo pipefail
mode=$1 source_dir=$2 linux_cli=$3
shift 3
windows_cli=("$@") # the runner (Wine and its prefix) and the program
if [ ! -x "$linux_cli" ]; then
    echo "no Linux build of nimbrel-cli at $linux_cli to compare with"
    exit 77
fi
work=$(mktemp -d)
server=
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

same() { # NAME ARGS...: both programs with the same arguments and input give the same bytes
    local name=$1
    shift
    "$linux_cli" "$@" <"$work/input" >"$work/$name.linux" 2>/dev/null || true
    "${windows_cli[@]}" "$@" <"$work/input" >"$work/$name.windows" 2>/dev/null || true
    if ! cmp -s "$work/$name.linux" "$work/$name.windows"; then
        echo "FAIL $name: the outputs differ"
        diff <(head -c 4000 "$work/$name.linux") <(head -c 4000 "$work/$name.windows") | head -20
        return 1
    fi
    if [ ! -s "$work/$name.linux" ]; then
        echo "FAIL $name: no output at all"
        return 1
    fi
    echo "ok $name ($(wc -l <"$work/$name.linux") lines)"
}

case $mode in
decode)
    cp "$source_dir/tests/data/metar-corpus.txt" "$work/input"
    same decode-lines decode --lines --utc-now 2026-12-08T06:00
    same decode-lines-12h decode --lines --12h --offset -5 --utc-now 2026-12-08T06:00
    ;;
fetch)
    : >"$work/input"
    stations=$work/root/data/observations/metar/stations
    mkdir -p "$stations"
    printf '2026/12/08 05:25\nEHAM 080525Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n' >"$stations/EHAM.TXT"
    printf '2026/12/08 05:20\nKJFK 080520Z 31010KT 10SM CLR 02/M05 A3012\n' >"$stations/KJFK.TXT"
    # Debian's pyftpdlib belongs to the system interpreter, whatever python3 is first on PATH.
    /usr/bin/python3 "$source_dir/tests/support/retrieval/serve_ftp.py" "$work/root" >"$work/port" &
    server=$!
    for _ in $(seq 100); do
        [ -s "$work/port" ] && break
        sleep 0.1
    done
    port=$(head -n 1 "$work/port")
    [ -n "$port" ] || { echo "FAIL: the FTP server did not start"; exit 1; }
    same fetch-passive fetch --server "127.0.0.1:$port" EHAM KJFK
    same fetch-active fetch --active --server "127.0.0.1:$port" EHAM KJFK
    same fetch-missing-station fetch --server "127.0.0.1:$port" EHAM XXXX
    grep -q 'EHAM 080525Z' "$work/fetch-active.windows" || { echo "FAIL: no report fetched"; exit 1; }
    ;;
show)
    : >"$work/input"
    printf '[Preferences]\nLocationCode2=VIDP\nLocationCode3=VNKT\nLocationCode4=CYYT\n' >"$work/zones.ini"
    printf 'LocationCode5=YSSY\nLocationTimeZone1=Europe/Amsterdam\nLocationTimeZone2=Asia/Kolkata\n' >>"$work/zones.ini"
    printf 'LocationTimeZone3=Asia/Kathmandu\nLocationTimeZone4=America/St_Johns\n' >>"$work/zones.ini"
    printf 'LocationTimeZone5=Australia/Sydney\n' >>"$work/zones.ini"
    printf '2026/03/29 00:55\nEHAM 290055Z 24012KT 9999 FEW020 12/08 Q1013\n' >"$work/eham.txt"
    for now in 2026-03-29T00:59 2026-03-29T01:00 2026-07-15T10:25; do
        same "show-$now" show --settings "$work/zones.ini" --metar "1=$work/eham.txt" --utc-now "$now"
    done
    # Summer time began at 01:00 UTC; the report from before it keeps its own offset.
    grep -q '"LabelLocalTime":"03:00","LabelTime":"00:55 UTC  (01:55 local)"' \
        "$work/show-2026-03-29T01:00.windows" || { echo "FAIL: not the zone's local time"; exit 1; }
    ;;
*)
    echo "usage: $0 decode|fetch|show SOURCE_DIR LINUX_CLI RUNNER... WINDOWS_CLI" >&2
    exit 2
    ;;
esac
