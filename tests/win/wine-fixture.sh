#!/usr/bin/env bash
# The Wine side of a test run, as a CTest fixture:
#   start <wine-run.sh>  creates the private prefix on first use (wine-run.sh
#                        does that) and leaves one persistent wineserver running,
#                        so that each test program starts in a fraction of a second;
#   stop                 ends that server and every Wine process of the prefix.
# WINEPREFIX names the prefix, the same one QX_WINEPREFIX gives wine-run.sh.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the private prefix}"

case "${1:-}" in
  start)
    runner=${2:?start needs the path of wine-run.sh}
    # A persistent server left by an interrupted run would never let "-w" return.
    wineserver -k 2>/dev/null || true
    "$runner" wineboot
    # The server wineboot started must be gone before a persistent one takes over.
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    # Wine's background processes (services, desktop, devices) start with the
    # first program and inherit its streams: started here without any, they
    # cannot hold a test's output pipes open after the test has ended.
    "$runner" cmd /c exit 0 </dev/null >/dev/null 2>&1
    ;;
  stop)
    # Nothing running (a setup that failed early) is not an error.
    wineserver -k 2>/dev/null || true
    wineserver -w
    ;;
  *)
    echo "usage: $0 start <wine-run.sh> | stop" >&2
    exit 2
    ;;
esac
