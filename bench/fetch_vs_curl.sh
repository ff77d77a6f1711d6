#!/usr/bin/env bash
# Times one fetch run of five stations from a local server against curl fetching the same five
# files in one invocation over one connection: FTP (pyftpdlib, passive mode), or with --https
# HTTPS (serve_https.py, keep-alive, a throw-away CA). Prints the median wall time of each,
# taken in turns so that other work on the machine weighs on both alike, and their ratio; the
# target is a ratio of at most 1.25.
#
# Usage: bench/fetch_vs_curl.sh [--https] [NIMBREL_CLI] [RUNS]
#   NIMBREL_CLI defaults to build/release/nimbrel-cli, RUNS to 25 (at least 20 are sensible).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
https=
way="FTP passive mode"
if [ "${1:-}" = --https ]; then
    https=1
    way="HTTPS with keep-alive"
    shift
fi
cli=${1:-$here/build/release/nimbrel-cli}
runs=${2:-25}
codes=(EHAM KJFK LFPG RJTT YSSY)

[ -x "$cli" ] || { echo "no nimbrel-cli at $cli (build it first)" >&2; exit 2; }
command -v curl >/dev/null || { echo "curl is missing" >&2; exit 2; }

work=$(mktemp -d)
server_pid=
cleanup() {
    local status=$?
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

stations=$work/root/data/observations/metar/stations
mkdir -p "$stations" "$work/out" "$work/certs"
for code in "${codes[@]}"; do
    printf '2026/12/08 05:30\n%s 080530Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n' "$code" \
        >"$stations/$code.TXT"
done

# The system interpreter: Debian's pyftpdlib does not belong to other pythons on PATH.
if [ -n "$https" ]; then
    coproc SERVER { exec /usr/bin/python3 "$here/tests/support/retrieval/serve_https.py" \
        "$work/certs" "$work/root"; }
else
    coproc SERVER { exec /usr/bin/python3 "$here/tests/support/retrieval/serve_ftp.py" "$work/root"; }
fi
server_pid=$SERVER_PID
read -r port _ <&"${SERVER[0]}"
[ -n "$port" ] || { echo "the server did not start" >&2; exit 1; }
ca=$work/certs/ca.pem
list=$(IFS=,; echo "${codes[*]}")
folder=data/observations/metar/stations

nimbrel_run() {
    if [ -n "$https" ]; then
        "$cli" fetch --https --server "127.0.0.1:$port" --ca-file "$ca" "${codes[@]}"
    else
        "$cli" fetch --server "127.0.0.1:$port" "${codes[@]}"
    fi >"$work/out.json"
}
curl_run() {
    if [ -n "$https" ]; then
        curl --silent --show-error --cacert "$ca" \
            "https://127.0.0.1:$port/$folder/{$list}.TXT" -o "$work/out/#1.TXT"
    else
        # One CWD per file, as close to our exchange as curl gets.
        curl --silent --show-error --ftp-pasv --ftp-method singlecwd \
            "ftp://127.0.0.1:$port/$folder/{$list}.TXT" -o "$work/out/#1.TXT"
    fi
}

# Microseconds one run of a command takes.
time_us() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# One untimed run of each warms caches and checks that both fetch all five files.
nimbrel_run
grep -q '"ConnectionFailed":false' "$work/out.json" || { echo "nimbrel-cli failed" >&2; exit 1; }
curl_run
for code in "${codes[@]}"; do
    grep -q "$code 080530Z" "$work/out.json" || { echo "nimbrel-cli missed $code" >&2; exit 1; }
    cmp -s "$stations/$code.TXT" "$work/out/$code.TXT" || { echo "curl missed $code" >&2; exit 1; }
done

nimbrel_samples=()
curl_samples=()
for ((i = 0; i < runs; i++)); do
    nimbrel_samples+=("$(time_us nimbrel_run)")
    curl_samples+=("$(time_us curl_run)")
done
nimbrel=$(printf '%s\n' "${nimbrel_samples[@]}" | median)
curl=$(printf '%s\n' "${curl_samples[@]}" | median)
echo "runs:            $runs each in turns, 5 stations, $way, 127.0.0.1"
echo "nimbrel-cli:     ${nimbrel} us (median)"
echo "curl:            ${curl} us (median)"
awk -v a="$nimbrel" -v b="$curl" 'BEGIN { printf "ratio:           %.2fx curl (target <= 1.25x)\n", a / b }'
