#!/usr/bin/env bash
source "$(dirname "$0")/wine-env.sh"
[ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null
exit 0
