#!/usr/bin/env bash
# Runs one Windows program in the build folder's prefix; ctest uses it as the emulator.
set -euo pipefail
here="$(dirname "$0")"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
exec "$WINE" "$@"
