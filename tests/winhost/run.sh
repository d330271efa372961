#!/usr/bin/env bash
# run.sh <qx_winhost_tests.exe> <prefix>: runs the real-window host under Wine, inside a Wine
# desktop window (it stands in for a window manager) on an X server of its own; its XML report
# must show tests run and none failed.
set -uo pipefail
exe=$(realpath "$1")
prefix=$(realpath -m "$2")
if [ "${QX_WINHOST_INNER:-}" != 1 ]; then
  QX_WINHOST_INNER=1 exec xvfb-run -a --server-args="-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi

export QX_WINEPREFIX=$prefix WINEPREFIX=$prefix
report=$prefix-report.xml
rm -f "$report"
trap 'wineserver -k 2>/dev/null; true' EXIT
"$(dirname "$0")/../../scripts/wine-run.sh" explorer /desktop=qxhost,1024x768 "Z:${exe//\//\\}" \
  "--gtest_output=xml:Z:${report//\//\\}"
wineserver -w  # the desktop process lingers after its program has ended
[ -f "$report" ] || { echo "win_host: the program left no report" >&2; exit 1; }
grep -A2 '<failure' "$report" && exit 1
grep -c '<testcase' "$report"  # and fails when no test ran
