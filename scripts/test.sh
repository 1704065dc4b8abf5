#!/usr/bin/env bash
# Runs every test under Wine in the build folder's prefix, with one wineserver for the run.
#   scripts/test.sh                   every test program
#   scripts/test.sh -R NAME ...       arguments for ctest
#   scripts/test.sh PROGRAM [FILTER]  one test program, with a GoogleTest filter
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
source "$here/xvfb.sh"

arch="$("$here/wine-arch.sh")"
if [ "$arch" != i686 ]; then
    echo "note: this machine cannot start 32-bit processes; testing the x86_64 build under Wine."
fi

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
    "$WINE" "$BUILD_DIR/$arch/bin/$1.exe" --gtest_filter="${2:-*}" </dev/null
else
    ctest --test-dir "$BUILD_DIR/$arch" --output-on-failure "$@" </dev/null
fi
