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

keys_of() { grep -E '^\[' "$1" | tr 'a-z' 'A-Z' | sort -u; }

# Unregistering removes exactly what registering added: every key that
# registering added is gone again, and every key that was there before is
# still there. (Wine may add keys of its own between the two, for instance
# when a script host first loads; those are neither ours nor checked.)
expect_restored() { # <before> <registered> <after>
  local added left removed
  added=$(comm -13 <(keys_of "$1") <(keys_of "$2"))
  left=$(comm -12 <(echo "$added") <(keys_of "$3") | grep -v '^$' || true)
  removed=$(comm -23 <(keys_of "$1") <(keys_of "$3") | grep -v '^$' || true)
  if [ -z "$added" ]; then echo "registering added no key"; return 1; fi
  if [ -n "$left" ]; then echo "keys left behind:"; echo "$left" | head -20; return 1; fi
  if [ -n "$removed" ]; then echo "keys removed that registering had not added:"; echo "$removed" | head -20; return 1; fi
  echo "$(echo "$added" | wc -l) keys added and removed again"
}

# Each round trip starts from an unregistered server, whatever an earlier run
# (a demo, an interrupted test run) left in the prefix.
start_unregistered() { # [regsvr32 options]
  run regsvr32 /s /u "$@" "$dllw" >/dev/null 2>&1 || true
}

case $mode in
  register)
    start_unregistered
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
    expect_restored "$state/before.reg" "$state/registered.reg" "$state/after.reg"
    ;;
  user)
    start_unregistered /n /i:user
    export_root 'HKCU\Software\Classes' "$state/user-before.reg"
    run regsvr32 /s /n /i:user "$dllw"
    export_root 'HKCU\Software\Classes' "$state/user-registered.reg"
    expect_present "$state/user-registered.reg" 'HKEY_CURRENT_USER\\Software\\Classes'
    run regsvr32 /s /u /n /i:user "$dllw"
    export_root 'HKCU\Software\Classes' "$state/user-after.reg"
    expect_restored "$state/user-before.reg" "$state/user-registered.reg" "$state/user-after.reg"
    ;;
  *) echo "usage: $0 register|unregister|user <dll> <idl> <state-dir>" >&2; exit 2 ;;
esac
