#!/usr/bin/env bash
# Installs the 64-bit package silently into a fresh 64-bit Wine prefix (both registry views),
# upgrades over the package of the version before it, and removes it again; checks what each
# step leaves on disk and in the registry; then, in a 32-bit prefix, the 32-bit package.
# Usage: install_test.sh BUILDS_DIR
# Where 32-bit programs cannot run, the installed program (a 32-bit one), the 32-bit menu
# library and a 32-bit prefix cannot be started, loaded or made: those checks skip and say so.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
builds="$1"
bin64="$builds/x86_64/bin"
work="$builds/x86_64/install-test"
rm -rf "$work"
mkdir -p "$work"

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
skip() { printf '%s: Skipped\n%s\n[  SKIPPED ] InstallPackage.%s (0 ms)\n' "$0" "$2" "$1"; }

# The packages: this version, and the one before it built from the same programs.
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$builds/i686/CMakeCache.txt")"
major="${version%%.*}" minor="${version#*.}"
if [ "$minor" -gt 0 ]; then older="$major.$((minor - 1))"; else older="$((major - 1)).9"; fi
BUILD_DIR="$builds" "$root/scripts/dist.sh" "$work/new" >/dev/null || exit 1
BUILD_DIR="$builds" TOLVANE_DIST_VERSION="$older" "$root/scripts/dist.sh" "$work/old" >/dev/null || exit 1
new="$work/new/tolvane-$version-x64.msi"
old="$work/old/tolvane-$older-x64.msi"
# msiinfo writes CR LF.
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }
[ "$(property "$new" UpgradeCode)" = "$(property "$old" UpgradeCode)" ] || fail "the upgrade code changed between versions"

# use_prefix DIR [win32]: a fresh prefix of its own in DIR, with its own HOME; 64-bit (with
# WOW64) unless win32 is asked for.
prefixes=()
use_prefix() {
    export BUILD_DIR="$1" WINEARCH="${2:-win64}"
    source "$root/scripts/wine-env.sh"
    "$root/scripts/wine-prefix.sh" >/dev/null || exit 1
    wineserver -p
    prefixes+=("$WINEPREFIX")
    programs="$WINEPREFIX/drive_c/Program Files/TolVane"
    # The package asks for the common Start menu (ALLUSERS=1), where Windows puts it; Wine puts
    # it in the installing user's. Either counts, and there must be exactly one.
    start_menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
                 "$WINEPREFIX"/drive_c/users/*/"AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
    data="$HOME/Documents/TolVane"
    common="$WINEPREFIX/drive_c/users/Public/Documents/TolVane"
}
source "$root/scripts/xvfb.sh"
start_display || exit 1
trap 'for p in "${prefixes[@]}"; do WINEPREFIX="$p" wineserver -k 2>/dev/null; done; stop_display' EXIT
win() { "$WINE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
winpath() { win winepath -w "$1"; }
shortcuts() { find "${start_menus[@]}" -maxdepth 1 -name TolVane.lnk 2>/dev/null; }

installed='C:\Program Files\TolVane'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
clsid='{ADE68C79-6ACF-41A3-A787-39ED643F4786}'

# reg_value KEY NAME VIEW: the data of a value ("" for the default), empty when missing.
reg_value() {
    local opt=(/v "$2")
    [ -n "$2" ] || opt=(/ve)
    win reg query "$1" "${opt[@]}" "/reg:$3" | awk -F'    ' 'NF >= 4 { print $4 }'
}
key_exists() { "$WINE" reg query "$1" "/reg:$2" >/dev/null 2>&1 </dev/null; }
msiexec() { "$WINE" msiexec "$@" /qn </dev/null >/dev/null 2>&1; }
# Every file under the users' folders, with its checksum.
user_files() { (cd "$HOME/Documents" && find . "$common" -type f -exec sha1sum {} + 2>/dev/null | sort); }

# check_files PACKAGE: the program folder holds the package's files of the list, byte for byte
# what the build made, and nothing else.
listed() { awk -v p="$1" '!/^#/ && NF >= 5 { for (i = 5; i <= NF; i++) if ($i == p) print $4 }' "$root/packaging/files.txt" | sort; }
check_files() {
    local id build name as packages
    while read -r id build name as packages; do
        case " $packages " in *" $1 "*) ;; *) continue ;; esac
        cmp -s "$builds/$build/bin/$name" "$programs/$as" || fail "$1: $as is not installed from the $build build"
    done < <(grep -v '^#' "$root/packaging/files.txt")
    [ "$(ls "$programs" | sort)" = "$(listed "$1")" ] || fail "$1: the program folder holds other files than the list: $(ls "$programs")"
}
# check_class VIEW LIBRARY: the class in that registry view, served by LIBRARY with its threading
# model, bound to files and folders.
check_class() {
    local key="HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" server class
    server="$(reg_value "$key" '' "$1")"
    [ -n "$server" ] && [ "$(win winepath -u "$server")" -ef "$programs/$2" ] \
        || fail "view $1: the class is served by '$server', not by $2"
    [ "$(reg_value "$key" ThreadingModel "$1")" = Apartment ] || fail "view $1: threading model is not Apartment"
    for class in '*' Directory; do
        [ "$(reg_value "HKLM\\Software\\Classes\\$class\\shellex\\ContextMenuHandlers\\TolvaneMenu" '' "$1")" = "$clsid" ] \
            || fail "view $1: $class's menu handlers do not name the class"
    done
}
# remove PACKAGE VIEW: removes it; no file, shortcut, listing or key of it stays.
remove() {
    local key component view
    msiexec /x "$(property "$1" ProductCode)" || fail "removing $1"
    [ ! -e "$programs" ] || fail "files are left under Program Files: $(ls "$programs")"
    [ -z "$(shortcuts)" ] || fail "the Start-menu shortcut is left"
    key_exists "$uninstall\\$(property "$1" ProductCode)" "$2" && fail "still listed in Programs and Features"
    while IFS='|' read -r key component; do
        view=32
        case "$component" in menu64) view=64 ;; esac
        key_exists "HKLM\\$key" $view && fail "view $view: HKLM\\$key is left"
    done < <(msiinfo export "$1" Registry | tr -d '\r' | awk -F'\t' 'NR > 3 { print $3 "|" $6 }')
}

use_prefix "$work"

# The package for 32-bit Windows refuses a 64-bit one with a fatal error (1603; the exit status
# keeps its low byte, 67), not by being unreadable, and leaves nothing behind.
msiexec /i "$(winpath "$work/new/tolvane-$version-x86.msi")"
refused=$?
[ "$refused" -eq 67 ] || fail "the 32-bit package on 64-bit Windows ended with $refused, not 1603"
[ ! -e "$WINEPREFIX/drive_c/Program Files (x86)/TolVane" ] || fail "the refused 32-bit package left its folder"

msiexec /i "$(winpath "$old")" || fail "installing $older"
[ ! -e "$data" ] && [ ! -e "$common" ] || fail "the package wrote into a user's data folder"
[ "$(reg_value "$uninstall\\$(property "$old" ProductCode)" DisplayVersion 64)" = "$older.0" ] \
    || fail "Programs and Features does not show $older.0"

# A user's record and settings, as the program keeps them.
mkdir -p "$data" "$common"
printf '[default]\r\nWidth=640\r\nEdtRECPath=%s\\\r\n' "$(winpath "$data")" > "$data/defualt.ini"
printf '[default]\r\nAlwaysRunAsAdmin=0\r\n' > "$common/defualt.ini"
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<tolvanetree app="x"><item text="notepad" path="C:\\windows\\notepad.exe" imageIndex="0" stateIndex="-1" docType="2" extand="-1"/></tolvanetree>\r\n' > "$data/Kept.tolvane"
printf '\xff\xfe0\x00\r\x00\n\x00' > "$data/Kept.tolvanetreesel"
left="$(user_files)"

msiexec /i "$(winpath "$new")" || fail "upgrading to $version"
[ "$(user_files)" = "$left" ] || fail "the upgrade changed the users' records or settings"
key_exists "$uninstall\\$(property "$old" ProductCode)" 64 && fail "$older is still listed after the upgrade"
entry="$uninstall\\$(property "$new" ProductCode)"
[ "$(reg_value "$entry" DisplayName 64) $(reg_value "$entry" DisplayVersion 64)" = "TolVane $version.0" ] \
    || fail "Programs and Features does not show TolVane $version.0"

check_files x64
[ "$(zip -sf "$work/new/tolvane-$version.zip" | sed -n 's|^  TolVane/\(..*\)|\1|p' | sort)" = "$(listed zip)" ] \
    || fail "the zip holds other files than the list"
check_class 32 TolvaneMenuDLL.dll
check_class 64 TolvaneMenuDLL64.dll

# The library's own client tests, against the installed library that COM finds in the registry.
TOLVANE_INSTALLED_MENU_LIBRARY="$installed\\TolvaneMenuDLL64.dll" \
    "$WINE" "$bin64/menu_library_tests.exe" --gtest_filter='MenuHandler.*' </dev/null > "$work/menu64.log" 2>&1 \
    || { cat "$work/menu64.log"; fail "the menu tests against the installed 64-bit library"; }
if [ -n "${TOLVANE_32BIT_RUNS:-}" ]; then
    TOLVANE_INSTALLED_MENU_LIBRARY="$installed\\TolvaneMenuDLL.dll" \
        "$WINE" "$builds/i686/bin/menu_library_tests.exe" --gtest_filter='MenuHandler.*' </dev/null > "$work/menu32.log" 2>&1 \
        || { cat "$work/menu32.log"; fail "the menu tests against the installed 32-bit library"; }
else
    skip InstalledMenuLibrary32 "32-bit programs do not run here: the installed 32-bit library cannot be loaded"
fi

# The Start-menu shortcut names the installed program, which starts and shows its window.
[ "$(shortcuts | wc -l)" -eq 1 ] || fail "not one Start-menu shortcut: $(shortcuts)"
win "$bin64/link_target.exe" "$(winpath "$(shortcuts | head -n 1)")" "$(winpath "$work/target.txt")"
[ "$(cat "$work/target.txt" 2>/dev/null)" = "$installed\\tolvane.exe" ] || fail "the Start-menu shortcut does not name the installed program"
if [ -n "${TOLVANE_32BIT_RUNS:-}" ]; then
    win "$bin64/run_shot.exe" "$installed\\tolvane.exe" "$(winpath "$work/installed.png")" \
        || fail "the installed program did not show its window"
else
    skip InstalledProgramStarts "32-bit programs do not run here: the installed program is one"
fi

# Removal: no file, no key of the package, the users' folders as they were.
before="$(user_files)"
remove "$new" 64
[ "$(user_files)" = "$before" ] || fail "the removal changed the users' records or settings"

# The package for 32-bit Windows, on 32-bit Windows.
if [ -n "${TOLVANE_32BIT_RUNS:-}" ]; then
    use_prefix "$work/win32" win32
    x86="$work/new/tolvane-$version-x86.msi"
    msiexec /i "$(winpath "$x86")" || fail "installing the 32-bit package"
    check_files x86
    check_class 32 TolvaneMenuDLL.dll
    [ "$(shortcuts | wc -l)" -eq 1 ] || fail "32-bit package: not one Start-menu shortcut"
    remove "$x86" 32
else
    skip Package32 "32-bit programs do not run here: no 32-bit Windows prefix for the 32-bit package"
fi

[ "$failures" -eq 0 ] && echo "install, upgrade and removal: all checks passed"
exit $((failures > 0))
