#!/usr/bin/env bash
# Writes the menu library's type libraries (resources/TolvaneMenuDLL32.tlb and ...64.tlb) with
# the helper built in the x86_64 build, run under Wine. Run from the repository root after a build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
cmake --build "$BUILD_DIR/x86_64" --target make_typelib -j2
tool="$BUILD_DIR/x86_64/bin/make_typelib.exe"
for kind in 32 64; do
    "$WINE" "$tool" "$("$WINE" winepath -w "$root/resources/TolvaneMenuDLL$kind.tlb")" "win$kind"
done
# Leave no wineserver of this display-less run behind for the next test run to inherit.
wineserver -w
