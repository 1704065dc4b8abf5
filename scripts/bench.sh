#!/usr/bin/env bash
# Runs every benchmark under Wine and prints their ratios.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
source "$here/xvfb.sh"
arch="$("$here/wine-arch.sh")"
"$here/wine-prefix.sh" || exit 1
start_display || exit 1
wineserver -p
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null; stop_display' EXIT
for bench in scan_bench record_bench select_bench startup_bench recent_docs_bench handoff_bench add_bench add_item_bench recording_bench smart_record_bench; do
    "$WINE" "$BUILD_DIR/$arch/bin/$bench.exe"
done
