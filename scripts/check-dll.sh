#!/usr/bin/env bash
# Checks a built QXGenRtns.dll: it imports system DLLs only (the C and C++
# runtimes are linked in), and exports exactly the COM server's entry points,
# undecorated.
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")

system_dlls='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shlwapi|version|mpr|msvcrt|comctl32|comdlg32|msimg32|winspool\.drv|uxtheme|ws2_32|rpcrt4|bcrypt)(\.dll)?$'
bad=0
while read -r name; do
  lower=$(tr 'A-Z' 'a-z' <<< "$name")
  if ! [[ "$lower" =~ $system_dlls ]]; then echo "check-dll: $dll imports $name"; bad=1; fi
done < <(grep -E '^\s*DLL Name:' <<< "$dump" | awk '{print $3}')

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<< "$dump" | grep -E '^\s*\[ *[0-9]+\] ' | grep -oE '\] [A-Za-z_@0-9]+' | awk '{print $2}' | sort | tr '\n' ' ' || true)
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
if [ "$exports" != "$expected" ]; then echo "check-dll: $dll exports '$exports', expected '$expected'"; bad=1; fi
exit $bad
