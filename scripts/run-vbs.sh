#!/usr/bin/env bash
# Runs one VBScript suite under Wine's cscript: the shared library of checks
# and the suite are joined into one file, and the suite passes only when its
# own closing line says "N passed, 0 failed" with N > 0 (cscript exits 0 and
# prints nothing on a syntax error or an uncaught runtime error).
set -uo pipefail
lib=$1
suite=$2
workdir=$3
here=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$workdir"
name=$(basename "$suite" .vbs)
joined="$workdir/$name.vbs"
cat "$lib" "$suite" | sed 's/$/\r/' > "$joined"

out=$("$here/wine-run.sh" cscript //nologo "Z:${joined//\//\\}" 2>&1)
rc=$?
printf '%s\n' "$out"
last=$(printf '%s\n' "$out" | tr -d '\r' | grep -v '^[[:space:]]*$' | tail -n 1)
if [[ "$last" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]] && [ "${BASH_REMATCH[2]}" = 0 ] && [ "${BASH_REMATCH[1]}" -gt 0 ]; then
  exit 0
fi
echo "suite $name did not finish with a clean summary (cscript exit $rc)" >&2
exit 1
