#!/usr/bin/env bash
# Runs the version probe under several Windows versions that Wine reports for
# that one program (HKCU\Software\Wine\AppDefaults\<exe>\Version), and checks
# the text the library builds from each. The key is removed afterwards.
set -uo pipefail
run=${1:?wine-run.sh}
probe=${2:?the probe program}
name=$(basename "$probe")
key="HKCU\\Software\\Wine\\AppDefaults\\$name"
trap '"$run" reg delete "$key" /f >/dev/null 2>&1 || true' EXIT

failed=0
check() {
  local version=$1 expected=$2 got
  "$run" reg add "$key" /v Version /d "$version" /f >/dev/null 2>&1
  got=$("$run" "$probe" | tr -d '\r')
  if [ "$got" = "$expected" ]; then
    echo "ok: $version gives '$got'"
  else
    echo "FAIL: $version gives '$got', expected '$expected'"
    failed=1
  fi
}

check win2k "Windows 2000 5.0 build 2195 (Service Pack 4)"
check winxp "Windows XP 5.1 build 2600 (Service Pack 3)"
check vista "Windows NT 6.0 build 6002 (Service Pack 2)"
exit $failed
