#!/usr/bin/env bash
# Installs what is missing, builds the presets and runs every suite:
# native (GoogleTest), the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (asan), and under Wine the Windows-port tests and
# the VBScript suites against the registered x86_64 DLL. The i686 DLL is built
# and linked (there is no 32-bit Wine to run it). Then the fuzz targets run for
# a minute each (QX_FUZZ_SECONDS); a finding fails the run. Ends with one
# summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh || exit 1

jobs=${QX_JOBS:-2}
failed_steps=()
passed=0
failed=0

step() { # <name> <command...>
  local name=$1; shift
  echo "== $name"
  if ! "$@"; then failed_steps+=("$name"); return 1; fi
}

run_ctest() { # <preset>
  local log
  log=$(mktemp)
  ctest --preset "$1" -j "$jobs" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [[ "$line" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
  rm -f "$log"
  return "$rc"
}

for preset in native asan win64 win32; do
  step "configure $preset" cmake --preset "$preset" >/dev/null || continue
  step "build $preset" cmake --build --preset "$preset" || continue
  if [ "$preset" != win32 ]; then
    step "test $preset" run_ctest "$preset"
  fi
done

if step "configure fuzz" cmake --preset fuzz >/dev/null && step "build fuzz" cmake --build --preset fuzz; then
  for target in fuzz_ini fuzz_paths fuzz_pe; do
    step "fuzz $target" bash scripts/fuzz.sh "${QX_FUZZ_SECONDS:-60}" "$target"
  done
fi

bash scripts/test-ratio.sh || true

if [ "${#failed_steps[@]}" -ne 0 ]; then
  echo "failed steps: ${failed_steps[*]}"
  [ "$failed" -eq 0 ] && failed=${#failed_steps[@]}
fi
echo "total: $passed passed, $failed failed"
[ "${#failed_steps[@]}" -eq 0 ]
