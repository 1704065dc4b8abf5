#!/usr/bin/env bash
# Runs every test under Wine in the build folder's prefix, with one wineserver for the run.
#   scripts/test.sh                   every test program, on each build that runs here
#   scripts/test.sh -R NAME ...       arguments for ctest, on each build that runs here
#   scripts/test.sh PROGRAM [FILTER]  one test program, with a GoogleTest filter
# Where 32-bit programs run, the i686 build (the program users get) is tested first, then the
# x86_64 build; elsewhere the x86_64 build alone. TOLVANE_TEST_ARCH=i686 or x86_64 picks one;
# TOLVANE_HIDE_32BIT=1 runs as on a machine without 32-bit support.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
source "$here/xvfb.sh"

if [ "$("$here/wine-arch.sh")" = i686 ]; then
    archs=(i686 x86_64)
    # Tests that start a 32-bit program from the 64-bit build expect it to run only here.
    export TOLVANE_32BIT_RUNS=1
else
    archs=(x86_64)
    untested="i686: not run (this machine cannot start 32-bit processes)"
    echo "note: this machine cannot start 32-bit processes; only the x86_64 build is tested."
fi
if [ -n "${TOLVANE_TEST_ARCH:-}" ]; then archs=("$TOLVANE_TEST_ARCH"); fi

"$here/wine-prefix.sh" || exit 1
start_display || exit 1
# A file only the 64-bit system folder holds: a 32-bit test finds it only past redirection.
echo probe > "$WINEPREFIX/drive_c/windows/system32/tolvane-64bit-only.txt"
# A network record folder: Wine serves \\tolvanetest\share from this folder of the build.
mkdir -p "$BUILD_DIR/unc-share" "$WINEPREFIX/dosdevices/unc/tolvanetest"
ln -sfn "$BUILD_DIR/unc-share" "$WINEPREFIX/dosdevices/unc/tolvanetest/share"
wineserver -p
# Start the prefix's services now, so they do not hold the first test's output open.
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null; stop_display' EXIT

if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
    "$WINE" "$BUILD_DIR/${archs[0]}/bin/$1.exe" --gtest_filter="${2:-*}" </dev/null
    exit $?
fi

# The tests of a build's last run that skipped, each with the reason it gave.
skipped_tests() {
    local log="$BUILD_DIR/$1/Testing/Temporary/LastTest.log"
    [ -f "$log" ] || return 0
    awk '/: Skipped$/ { getline reason; next }
         /^\[  SKIPPED \] [A-Za-z0-9_\/]+\.[A-Za-z0-9_\/]+ \(/ { print "  skipped " $4 ": " reason; reason = "" }' "$log"
}

status=0
summary=()
for arch in "${archs[@]}"; do
    echo "== The $arch build's tests =="
    started=$SECONDS
    if ctest --test-dir "$BUILD_DIR/$arch" --output-on-failure "$@" </dev/null; then
        summary+=("$arch: passed ($((SECONDS - started)) s)")
    else
        summary+=("$arch: FAILED ($((SECONDS - started)) s)")
        status=1
    fi
    skips="$(skipped_tests "$arch")"
    summary[-1]+=", $(printf '%s' "$skips" | grep -c skipped) tests skipped"
    [ -z "$skips" ] || summary+=("$skips")
done
echo "== Builds tested =="
printf '%s\n' "${summary[@]}"
[ -z "${untested:-}" ] || echo "$untested"
exit $status
