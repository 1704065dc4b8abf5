#!/usr/bin/env bash
# The test wrapper starts again a program that printed nothing and failed at once, at most
# twice, and never one that printed anything or succeeded.
#   wine_exec_test.sh <scripts folder>
set -u
scripts="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export BUILD_DIR="$work"
mkdir -p "$work/wineprefix" && touch "$work/wineprefix/.tolvane-ready"
# The fake loader plays the program: it counts its starts and answers from a script of runs.
cat > "$work/fake-wine" <<'FAKE'
#!/usr/bin/env bash
n=$(( $(cat "$BUILD_DIR/starts" 2>/dev/null || echo 0) + 1 ))
echo "$n" > "$BUILD_DIR/starts"
run="$(sed -n "${n}p" "$BUILD_DIR/runs")"
case "$run" in
    silent-fail) exit 3 ;;
    silent-ok)   exit 0 ;;
    talk-fail)   echo "[ RUN ] something"; exit 1 ;;
    talk-ok)     echo "[  PASSED  ] 1 test"; exit 0 ;;
esac
exit 99
FAKE
chmod +x "$work/fake-wine"
export TOLVANE_WINE="$work/fake-wine"

failures=0
# case: runs of the program, the exit code expected, the starts expected, a text the log holds
check() {
    local name="$1" runs="$2" code="$3" starts="$4" text="$5"
    printf '%s\n' $runs > "$work/runs"
    rm -f "$work/starts"
    local log got
    log="$("$scripts/wine-exec.sh" program.exe 2>&1)"
    got=$?
    local n; n="$(cat "$work/starts")"
    if [ "$got" != "$code" ] || [ "$n" != "$starts" ] || ! grep -q -- "$text" <<<"$log"; then
        echo "FAIL $name: code $got (want $code), starts $n (want $starts), log:"
        printf '%s\n' "$log"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}
check "a silent quick failure is started again"      "silent-fail talk-ok"                0 2 "try 2 of 3"
check "it is started at most three times"            "silent-fail silent-fail silent-fail talk-ok" 3 3 "try 3 of 3"
check "a program that printed is never started again" "talk-fail talk-ok"                 1 1 "something"
check "a silent success is not started again"         "silent-ok talk-ok"                 0 1 ""
check "the output of the run that counts is logged"   "silent-fail talk-ok"               0 2 "PASSED"
exit $((failures > 0))
