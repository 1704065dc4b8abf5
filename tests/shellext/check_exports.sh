#!/bin/sh
# The menu library as Explorer loads it: its four exports by name, and no DLL it needs beyond
# Windows' own (the C and C++ runtimes are linked in).
#   check_exports.sh <objdump> <library> [<objdump> <library>]...
allowed=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll "
status=0
while [ $# -ge 2 ]; do
    objdump="$1" dll="$2"
    shift 2
    if [ ! -f "$dll" ]; then
        echo "missing: $dll"
        status=1
        continue
    fi
    dump="$("$objdump" -p "$dll")" || { echo "cannot read: $dll"; status=1; continue; }
    exports="$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([A-Za-z_][A-Za-z0-9_@]*\)$/\1/p' | sort | tr '\n' ' ')"
    if [ "$exports" != "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
        echo "$dll: exports are [$exports]"
        status=1
    fi
    for name in $(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
        case "$allowed" in
            *" $name "*) ;;
            *) echo "$dll: needs $name"; status=1 ;;
        esac
    done
    echo "$dll: exports [$exports] needs [$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')]"
done
if [ $# -ne 0 ]; then
    echo "usage: check_exports.sh <objdump> <library> [<objdump> <library>]..."
    status=1
fi
exit $status
