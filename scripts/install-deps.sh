#!/usr/bin/env bash
# Installs what building, running and testing need, and only what is missing.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686-posix)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_cmd cmake                        || need+=(cmake)
have_cmd make                         || need+=(make)
have_pkg wine                         || need+=(wine)
have_pkg wine64                       || need+=(wine64)
have_pkg wine32:i386                  || need+=(wine32:i386)
have_pkg fonts-wine                   || need+=(fonts-wine)
have_cmd Xvfb                         || need+=(xvfb)
have_cmd xauth                        || need+=(xauth)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)

[ ${#need[@]} -eq 0 ] && exit 0

echo "Installing: ${need[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
