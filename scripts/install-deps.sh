#!/usr/bin/env bash
# Installs what building, running and testing need, and only what is missing.
# On a machine that already has everything it asks apt nothing.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# 32-bit Wine is worth having only where the kernel starts 32-bit programs; decided before
# anything is installed, so a machine that cannot run it never gets the i386 architecture.
can32=no
"$here/can-run-32bit.sh" && can32=yes

need=()
have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686-posix)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_cmd cmake                        || need+=(cmake)
have_cmd make                         || need+=(make)
have_pkg wine                         || need+=(wine)
have_pkg wine64                       || need+=(wine64)
have_pkg fonts-wine                   || need+=(fonts-wine)
have_cmd Xvfb                         || need+=(xvfb)
have_cmd xauth                        || need+=(xauth)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# `make dist`: the Windows Installer package (wixl builds it, msitools' msiinfo reads it), the zip.
have_cmd wixl                         || need+=(wixl)
have_cmd msiinfo                      || need+=(msitools)
have_cmd zip                          || need+=(zip)

want32=no
if [ "$can32" = yes ] && ! have_pkg wine32:i386; then want32=yes; fi

if [ ${#need[@]} -eq 0 ] && [ "$want32" = no ]; then exit 0; fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ "$want32" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 || want32=no
fi

# A mirror in the middle of a sync fails one index or another; the indexes that did arrive
# are still good enough to install from.
update_index() {
    $SUDO apt-get update -q >/dev/null 2>&1 && return 0
    sleep 2
    $SUDO apt-get update -q >/dev/null 2>&1 && return 0
    echo "note: apt-get update failed twice; going on with the package index files it did fetch."
}

install_pkgs() {
    $SUDO apt-get install -y -q --no-install-recommends "$@" >/dev/null 2>&1
}

if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    [ "$can32" = yes ] || echo "note: this kernel cannot start 32-bit programs; the i386 architecture and wine32:i386 are skipped and the tests run the 64-bit build."
    update_index
    if ! install_pkgs "${need[@]}"; then
        # Name what cannot be installed: try each on its own.
        failed=()
        for pkg in "${need[@]}"; do install_pkgs "$pkg" || failed+=("$pkg"); done
        if [ ${#failed[@]} -gt 0 ]; then
            echo "error: cannot install ${failed[*]}, which the build or the tests need." >&2
            exit 1
        fi
    fi
    indexed=yes
fi

if [ "$want32" = yes ]; then
    [ "${indexed:-no}" = yes ] || update_index
    if ! install_pkgs wine32:i386; then
        echo "note: wine32:i386 could not be installed; the tests run the 64-bit build."
    fi
fi
exit 0
