#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix.
# The prefix is <build>/wineprefix, found from QX_WINEPREFIX, or else from the
# nearest folder upwards holding CMakeCache.txt. It is created on first use,
# with the crash dialog switched off so that a crashing test cannot hang.
set -euo pipefail

find_build_dir() {
  local d=$PWD
  while [ "$d" != / ]; do
    [ -f "$d/CMakeCache.txt" ] && { echo "$d"; return; }
    d=$(dirname "$d")
  done
  return 1
}

if [ -z "${QX_WINEPREFIX:-}" ]; then
  build=$(find_build_dir) || { echo "wine-run.sh: run inside a build tree or set QX_WINEPREFIX" >&2; exit 2; }
  QX_WINEPREFIX=$build/wineprefix
fi
export WINEPREFIX=$QX_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.qx-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.qx-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.qx-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
