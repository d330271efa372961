#!/usr/bin/env bash
# Runs the real-window host under Wine on an X server of its own:
#   run.sh <qx_winhost_tests.exe> <prefix> [--shot <file.png> [<test filter>]]
# The X server (Xvfb, 1024x768, 24-bit) is started here and stopped at the
# end, with the prefix's wineserver. The program runs inside a Wine desktop
# window, which stands in for a window manager (top-level windows then open
# in a fraction of a second). The result is read from the program's XML
# report: every test ran and none failed. With --shot, the skinned form is
# held on screen and the whole screen is saved as a PNG; the filter picks the
# test that shows it (the skinned form's, unless given).
set -uo pipefail
exe=$(realpath "$1")
prefix=$(realpath -m "$2")
shot=
filter=SkinWindow.*
if [ "${3:-}" = --shot ]; then shot=$(realpath -m "${4:?--shot needs a file name}"); filter=${5:-$filter}; fi
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ "${QX_WINHOST_INNER:-}" != 1 ]; then
  command -v xvfb-run >/dev/null || { echo "run.sh: xvfb-run is missing (package xvfb)" >&2; exit 2; }
  export QX_WINHOST_INNER=1
  exec xvfb-run -a --server-args="-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi

export QX_WINEPREFIX=$prefix WINEPREFIX=$prefix
report=$prefix-report.xml
rm -f "$report"
trap 'wineserver -k 2>/dev/null; true' EXIT

args=("--gtest_output=xml:Z:${report//\//\\}")
ready=$prefix-shot-ready
rm -f "$ready" "$prefix-shot.xwd"
if [ -n "$shot" ]; then
  export QX_WINHOST_HOLD_MS=4000 QX_WINHOST_READY="Z:${ready//\//\\}"
  args+=("--gtest_filter=$filter")
fi
"$root/scripts/wine-run.sh" explorer /desktop=qxhost,1024x768 "Z:${exe//\//\\}" "${args[@]}" &
runner=$!
if [ -n "$shot" ]; then
  # The program says when the skinned form is on screen.
  for _ in $(seq 1 120); do
    [ -f "$ready" ] && { sleep 1; xwd -root -silent > "$prefix-shot.xwd"; break; }
    [ -f "$report" ] && break
    sleep 0.5
  done
fi
wait "$runner"
# The desktop process lingers after its program has ended.
wineserver -w

if [ -n "$shot" ]; then
  if [ -s "$prefix-shot.xwd" ] && convert "xwd:$prefix-shot.xwd" "$shot"; then
    echo "screenshot: $shot"
  else
    echo "run.sh: no screenshot taken" >&2
  fi
fi

[ -f "$report" ] || { echo "win_host: the program left no report" >&2; exit 1; }
grep -E '<testcase|<failure' "$report" | sed -e 's/^ *//' | cut -c1-300
summary=$(grep -o '<testsuites [^>]*>' "$report")
attr() { printf '%s\n' "$summary" | sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p"; }
tests=$(attr tests)
failures=$(attr failures)
errors=$(attr errors)
echo "win_host: $tests tests, $failures failures, $errors errors"
[ "${tests:-0}" -gt 0 ] && [ "$failures" = 0 ] && [ "$errors" = 0 ]
