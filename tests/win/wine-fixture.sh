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
    # The server that wineboot started lingers a moment; a persistent one can
    # only take over once it has gone.
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    # The first program of a session starts Wine's own background processes
    # (services, the desktop, devices), which inherit its standard streams and
    # live as long as the persistent server. Started here with no streams they
    # cannot hold a test's output pipes open after the test program has ended,
    # and the services they start later inherit no streams either.
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
