#!/usr/bin/env bash
# Creates the build folder's Wine prefix on first use; later calls return at once.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

[ -f "$WINEPREFIX/.tolvane-ready" ] && exit 0
mkdir -p "$BUILD_DIR"
exec 9>"$BUILD_DIR/.wineprefix.lock"
flock 9
[ -f "$WINEPREFIX/.tolvane-ready" ] && exit 0

# Distinct Desktop and Documents folders, so the shell folders do not all point at HOME.
mkdir -p "$HOME/Desktop" "$HOME/Documents" "$XDG_CONFIG_HOME"
cat > "$XDG_CONFIG_HOME/user-dirs.dirs" <<DIRS
XDG_DESKTOP_DIR="\$HOME/Desktop"
XDG_DOCUMENTS_DIR="\$HOME/Documents"
DIRS

echo "Creating Wine prefix in $WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1 || true
# Without a window manager Wine must draw captions and frames itself.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1
# Wine's own fonts, so captions and buttons have their glyphs whichever loader runs.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "Wine prefix creation failed" >&2; exit 1; }
touch "$WINEPREFIX/.tolvane-ready"
