# Sourced by the check scripts: `check NAME COMMAND...` runs one check and counts it, showing the
# command's output when it fails; `checks_report` prints "N passed, N failed" and fails when any
# check did.
checks_passed=0
checks_failed=0

check() {
    local name=$1 output
    shift
    if output=$("$@" 2>&1); then
        checks_passed=$((checks_passed + 1))
        echo "ok   - $name"
    else
        checks_failed=$((checks_failed + 1))
        echo "FAIL - $name"
        printf '%s\n' "$output" | head -n 30 | sed 's/^/       /'
    fi
}

# quiet COMMAND...: succeeds when COMMAND succeeds and prints nothing at all.
quiet() {
    local out
    out=$("$@" 2>&1) || { printf '%s\n' "$out"; return 1; }
    [ -z "$out" ] || { printf '%s\n' "$out"; return 1; }
}

checks_report() {
    echo "$checks_passed passed, $checks_failed failed"
    [ "$checks_failed" -eq 0 ]
}
