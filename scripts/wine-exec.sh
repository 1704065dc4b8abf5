#!/usr/bin/env bash
# Runs one Windows program in the build folder's prefix; ctest uses it as the emulator.
# A program that printed nothing at all and failed within a few seconds never started under
# Wine (no test program is that quiet): it is started again, at most twice, and the log says
# so. A program that printed anything is never started again.
set -uo pipefail
here="$(dirname "$0")"
source "$here/wine-env.sh"
"$here/wine-prefix.sh" || exit 1

quick_seconds=5
tries=3
out="$(mktemp)"
# Whatever happens to this script, what the program printed reaches the log.
trap 'cat "$out"; rm -f "$out"' EXIT
trap 'exit 143' TERM INT

for try in $(seq 1 "$tries"); do
    : > "$out"
    started=$SECONDS
    # A file, not a pipe: what the program leaves running must not hold this script up.
    "$WINE" "$@" >"$out" 2>&1
    code=$?
    elapsed=$((SECONDS - started))
    if [ "$code" -eq 0 ] || [ -s "$out" ] || [ "$elapsed" -ge "$quick_seconds" ] || [ "$try" -eq "$tries" ]; then
        exit "$code"
    fi
    echo "note: $(basename "$1") printed nothing and ended with code $code after ${elapsed} s;" \
         "starting it again (try $((try + 1)) of $tries)."
done
