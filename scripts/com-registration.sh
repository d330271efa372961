#!/usr/bin/env bash
# Registration of the COM server in the build tree's Wine prefix, checked
# against the registry itself.
#   register   <dll> <idl> <state-dir>  record the classes root, register, check every entry is there
#   unregister <dll> <idl> <state-dir>  unregister, check the classes root is exactly as recorded before
#   user       <dll> <idl> <state-dir>  the same round trip for a per-user registration (regsvr32 /n /i:user)
set -euo pipefail
mode=$1
dll=$2
idl=$3
state=$4
here=$(cd "$(dirname "$0")" && pwd)
run() { "$here/wine-run.sh" "$@"; }
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

mkdir -p "$state"
dllw=$(winpath "$dll")

export_root() { # <hive path> <file>: the classes root as UTF-8 text
  run reg export "$1" "$2.utf16" /y >/dev/null 2>&1 || { : > "$2"; return; }
  iconv -f UTF-16LE -t UTF-8 "$2.utf16" | tr -d '\r' > "$2"
  rm -f "$2.utf16"
}

# Every GUID of a class, an interface or the library, and every ProgID.
classes=$(grep -oE '^ *coclass [A-Za-z_]+' "$idl" | awk '{print $2}')
guids=$(grep -oE 'uuid\([0-9A-Fa-f-]+\)' "$idl" | sed -E 's/uuid\((.*)\)/\1/' | tr 'a-f' 'A-F')

expect_present() { # <export file> <root name>
  local file=$1 root=$2 missing=0 c
  for c in $classes; do
    grep -qi "^\[$root\\\\QXGenRtns\.$c\]" "$file" || { echo "missing ProgID QXGenRtns.$c"; missing=1; }
  done
  for g in $guids; do
    # Only the library, interfaces and classes are registered; enumerations and records are not.
    if grep -qi "{$g}" "$file"; then continue; fi
    if grep -B1 -E "uuid\($g\)" "$idl" | grep -qE 'enum|struct' || grep -A1 -iE "uuid\($g\)" "$idl" | grep -qE 'enum|struct'; then continue; fi
    echo "missing registry entries for {$g}"; missing=1
  done
  return $missing
}

expect_same() { # <before> <after>
  if ! diff -u "$1" "$2" > "$state/registry.diff"; then
    echo "unregistering did not restore the registry:"; head -40 "$state/registry.diff"; return 1
  fi
}

case $mode in
  register)
    export_root 'HKLM\Software\Classes' "$state/before.reg"
    run regsvr32 /s "$dllw"
    export_root 'HKLM\Software\Classes' "$state/registered.reg"
    expect_present "$state/registered.reg" 'HKEY_LOCAL_MACHINE\\Software\\Classes'
    for g in $(grep -B1 -E '^ *coclass ' "$idl" | grep -oE 'uuid\([0-9A-Fa-f-]+\)' | sed -E 's/uuid\((.*)\)/\1/'); do
      block=$(awk -v key="{$g}\\InprocServer32]" 'index(toupper($0), toupper(key)) { on = 1; next } /^\[/ { on = 0 } on' "$state/registered.reg")
      grep -q '"ThreadingModel"="Apartment"' <<< "$block" || { echo "class {$g}: ThreadingModel Apartment missing"; exit 1; }
      grep -qiF "$(basename "$dll")" <<< "$block" || { echo "class {$g}: InprocServer32 does not name the DLL"; exit 1; }
    done
    echo "registered $(echo "$classes" | wc -w) classes"
    ;;
  unregister)
    run regsvr32 /s /u "$dllw"
    export_root 'HKLM\Software\Classes' "$state/after.reg"
    if grep -qi 'QXGenRtns' "$state/after.reg"; then echo "entries left behind:"; grep -i 'QXGenRtns' "$state/after.reg" | head; exit 1; fi
    expect_same "$state/before.reg" "$state/after.reg"
    echo "unregistered: the classes root is as it was before registering"
    ;;
  user)
    export_root 'HKCU\Software\Classes' "$state/user-before.reg"
    run regsvr32 /s /n /i:user "$dllw"
    export_root 'HKCU\Software\Classes' "$state/user-registered.reg"
    expect_present "$state/user-registered.reg" 'HKEY_CURRENT_USER\\Software\\Classes'
    run regsvr32 /s /u /n /i:user "$dllw"
    export_root 'HKCU\Software\Classes' "$state/user-after.reg"
    expect_same "$state/user-before.reg" "$state/user-after.reg"
    echo "per-user registration added every entry and removed exactly those"
    ;;
  *) echo "usage: $0 register|unregister|user <dll> <idl> <state-dir>" >&2; exit 2 ;;
esac
