#!/usr/bin/env bash
# Builds the packages from the two builds in BUILD_DIR: a Windows Installer package for 64-bit
# Windows (both menu libraries), one for 32-bit Windows (the 32-bit library), and a zip of the
# same files. The files are listed in packaging/files.txt, the version comes from the build
# (project() in CMakeLists.txt).
#   scripts/dist.sh [OUT_DIR]     default: $BUILD_DIR/dist
# TOLVANE_DIST_VERSION=major.minor gives the packages another version (the install test makes
# an older package with it); the programs inside stay what the build made.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
: "${BUILD_DIR:=$root/build}"
out="${1:-$BUILD_DIR/dist}"
list="$root/packaging/files.txt"

cache_value() { sed -n "s/^$1:STATIC=//p" "$BUILD_DIR/i686/CMakeCache.txt"; }
version="${TOLVANE_DIST_VERSION:-$(cache_value CMAKE_PROJECT_VERSION)}"
[ -n "$version" ] || { echo "dist: no version; build first (make build)" >&2; exit 1; }
msi_version="$version.0"

# A GUID that stays the same for the same text, so a component keeps its identity from one
# version to the next and a version keeps its product code.
guid_of() {
    local h
    h="$(printf '%s' "$1" | sha1sum | tr a-f A-F)"
    printf '%s-%s-5%s-8%s-%s' "${h:0:8}" "${h:8:4}" "${h:13:3}" "${h:17:3}" "${h:20:12}"
}

# The lines of the file list for one package: id, build, name there, installed name.
shipped_in() {
    awk -v pkg="$1" '!/^#/ && NF >= 5 { for (i = 5; i <= NF; i++) if ($i == pkg) print $1, $2, $3, $4 }' "$list"
}

# What DllRegisterServer writes, written by the package into the library's own registry view,
# plus the binding of the class to files and folders. Keys marked "*" go with all they hold
# when the package is removed. [!file] is the file's short path, which DllRegisterServer writes
# for a path with blanks such as "Program Files".
menu_registration() {
    local file="$1" win="$2"
    local clsid='{ADE68C79-6ACF-41A3-A787-39ED643F4786}' progid='TolvaneMenuDLL.MyContextMenu'
    local libid='{2F15E0EA-A0D8-477A-A5CA-C5F998F5749C}' cls='Software\Classes'
    local key name value
    while IFS='|' read -r key name value; do
        printf '      <RegistryValue Root="HKLM" Key="%s\\%s"%s Type="string" Value="%s"/>\n' \
            "$cls" "$key" "${name:+ Name=\"$name\"}" "$value"
    done <<ENTRIES
CLSID\\$clsid|*|
CLSID\\$clsid\\InprocServer32||[!$file]
CLSID\\$clsid\\InprocServer32|ThreadingModel|Apartment
CLSID\\$clsid\\ProgID||$progid
$progid|*|
$progid\\Clsid||$clsid
TypeLib\\$libid|*|
TypeLib\\$libid\\1.0||TolvaneMenuDLL Library
TypeLib\\$libid\\1.0\\FLAGS||0
TypeLib\\$libid\\1.0\\HELPDIR||[INSTALLDIR]
TypeLib\\$libid\\1.0\\0\\$win||[#$file]
*\\shellex\\ContextMenuHandlers\\TolvaneMenu|*|
*\\shellex\\ContextMenuHandlers\\TolvaneMenu||$clsid
Directory\\shellex\\ContextMenuHandlers\\TolvaneMenu|*|
Directory\\shellex\\ContextMenuHandlers\\TolvaneMenu||$clsid
ENTRIES
}

# shipped.wxs for one package: a component for each file; a menu library's component also
# carries its registration, in the registry view of its own architecture.
shipped_wxs() {
    local pkg="$1" id build name installed win64
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
    echo '  <ComponentGroup Id="Shipped" Directory="INSTALLDIR">'
    while read -r id build name installed; do
        win64=no
        [ "$build" = x86_64 ] && win64=yes
        printf '    <Component Id="%s" Guid="%s" Win64="%s">\n' "$id" "$(guid_of "tolvane $pkg component $id")" "$win64"
        printf '      <File Id="%s" Name="%s" Source="%s" KeyPath="yes"/>\n' "$id" "$installed" "build/$build/bin/$name"
        case "$id" in
            menu32) menu_registration "$id" win32 ;;
            menu64) menu_registration "$id" win64 ;;
        esac
        echo '    </Component>'
    done < <(shipped_in "$pkg")
    echo '  </ComponentGroup>'
    echo '</Fragment></Wix>'
}

mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every file must be there before anything is packed.
while read -r id build name installed; do
    [ -f "$BUILD_DIR/$build/bin/$name" ] || { echo "dist: missing $BUILD_DIR/$build/bin/$name; build first (make build)" >&2; exit 1; }
done < <(shipped_in zip)

# wixl finds sources only by relative paths: it runs in the work folder, which links to the
# builds and the resources.
ln -s "$BUILD_DIR" "$work/build"
ln -s "$root/resources" "$work/resources"
cp "$root/packaging/tolvane.wxs" "$work/"
out="$(cd "$out" && pwd)"
for pkg in x64 x86; do
    shipped_wxs "$pkg" > "$work/shipped-$pkg.wxs"
    (cd "$work" && wixl -a "$pkg" -o "$out/tolvane-$version-$pkg.msi" \
         -D Arch="$pkg" -D Version="$msi_version" -D Icon=resources/tolvane.ico \
         -D ProductCode="$(guid_of "tolvane $pkg product $msi_version")" \
         tolvane.wxs "shipped-$pkg.wxs" 2> wixl.log) \
        || { cat "$work/wixl.log" >&2; exit 1; }
done

mkdir -p "$work/TolVane"
while read -r id build name installed; do
    cp "$BUILD_DIR/$build/bin/$name" "$work/TolVane/$installed"
done < <(shipped_in zip)
rm -f "$out/tolvane-$version.zip"
(cd "$work" && zip -qrX "$out/tolvane-$version.zip" TolVane)

echo "Packages of TolVane $version in $out:"
(cd "$out" && ls -1 "tolvane-$version-x64.msi" "tolvane-$version-x86.msi" "tolvane-$version.zip")
