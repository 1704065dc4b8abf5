#!/usr/bin/env bash
# Starts the program in the build folder's prefix. Without a display it runs under Xvfb,
# saves build/screenshots/run.png once the main window is up, closes the program and ends.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
source "$here/xvfb.sh"
arch="$("$here/wine-arch.sh")"
bin="$BUILD_DIR/$arch/bin"
"$here/wine-prefix.sh"

if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE" "$bin/tolvane.exe" "$@"
fi

start_display
wineserver -p
# Start the prefix's services now, so they do not hold the first test's output open.
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null; stop_display' EXIT
mkdir -p "$BUILD_DIR/screenshots"
"$WINE" "$bin/run_shot.exe" "$bin/tolvane.exe" "$("$WINE" winepath -w "$BUILD_DIR/screenshots/run.png")"
echo "Screenshot: $BUILD_DIR/screenshots/run.png"
