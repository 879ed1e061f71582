#!/usr/bin/env bash
# Tarrowind.asi is a 64-bit DLL that exports nothing and imports only what every player has:
# the kernel, the system C runtime and the script hook, whose six functions it takes by their
# decorated names. The stand-in host exports those same names.
#   dll_imports.sh OBJDUMP
set -euo pipefail
objdump=$1
source "$(dirname "$0")/wine_env.sh"

fail=0
expect() {  # what, expected, actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL: %s\n  expected: %s\n  found:    %s\n' "$1" "$2" "$3"
        fail=1
    fi
}

asi="$WINDOWS_BIN/Tarrowind.asi"
headers=$("$objdump" -p "$asi")
expect "file format" "pei-x86-64" "$("$objdump" -f "$asi" | sed -n 's/.*file format //p')"
expect "imported DLLs" "KERNEL32.dll msvcrt.dll ScriptHookRDR2.dll" \
    "$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ' | sed 's/ $//')"

words() { sort | tr '\n' ' ' | sed 's/ $//'; }

hook_names='?nativeCall@@YAPEA_KXZ ?nativeInit@@YAX_K@Z ?nativePush64@@YAX_K@Z ?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z ?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z ?scriptWait@@YAXK@Z'
imported=$(awk '/DLL Name: ScriptHookRDR2.dll/ {on = 1; next}
                on && /DLL Name:|^[[:space:]]*$/ && seen {exit}
                on && $1 ~ /^[0-9a-f]+$/ && NF >= 3 {print $3; seen = 1}' <<<"$headers" | words)
expect "functions imported from the hook" "$hook_names" "$imported"

exported=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && NF == 0 {exit}
                on {print $NF}' <<<"$headers" | words)
expect "names the plug-in exports" "" "$exported"

stand_in_headers=$("$objdump" -p "$WINDOWS_BIN/ScriptHookRDR2.dll")
stand_in=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && NF == 0 {exit}
                on && $NF ~ /^\?/ {print $NF}' <<<"$stand_in_headers" | words)
expect "hook names the stand-in host exports" "$hook_names" "$stand_in"

size=$(stat -c %s "$asi")
echo "Tarrowind.asi: $size bytes; imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit $fail
