# Sourced by the scripts that run Windows programs: one Wine prefix and one HOME per build folder,
# never the user's own ~/.wine or HOME.
: "${BUILD_DIR:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export BUILD_DIR
export WINEPREFIX="$BUILD_DIR/wineprefix"
export HOME="$BUILD_DIR/winehome"
export XDG_CONFIG_HOME="$HOME/.config"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts: the program needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The loader: Debian's `wine` starts a 32-bit Linux process first, which some kernels cannot
# run; there only the 64-bit loader works. TOLVANE_HIDE_32BIT=1 acts as such a kernel, to try
# the scripts' 64-bit-only road on a machine that has both.
if [ -z "${TOLVANE_HIDE_32BIT:-}" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=wine
else
    WINE=/usr/lib/wine/wine64
fi
# The wrapper's own test stands a fake loader in.
[ -z "${TOLVANE_WINE:-}" ] || WINE="$TOLVANE_WINE"
export WINE
