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
# run; there only the 64-bit loader works.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=wine
else
    WINE=/usr/lib/wine/wine64
fi
export WINE
