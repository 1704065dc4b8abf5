#!/usr/bin/env bash
# A test that runs past its time limit ends its test program with a failure that names the
# test, and the processes the program started end with it.
#   time_limit_test.sh <emulator> <time_limit_check.exe>
set -u
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mark="$work/mark"
out="$(TOLVANE_TEST_TIME_LIMIT=1 TOLVANE_TIME_LIMIT_MARK="Z:${mark//\//\\}" "$1" "$2" 2>&1)"
code=$?
printf '%s\n' "$out"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$code" -ne 0 ] || fail "the program ended with code 0"
grep -q 'TimeLimit.NeverEnds ran longer than 1 s' <<<"$out" || fail "no line names the test that ran too long"
# The copy would have left its mark by now had it been left running.
sleep 8
[ ! -e "$mark" ] || fail "the program's own child outlived it"
exit $((failures > 0))
