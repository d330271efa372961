#!/usr/bin/env bash
# Builds the "fuzz" preset and runs every libFuzzer target for a while.
#   scripts/fuzz.sh [seconds] [target...]     (default: 600 seconds, all targets)
# Each target starts from its seeds in tests/fuzz/corpus/<name> and from what
# earlier runs found (build/fuzz/corpus/<name>, where new inputs are kept);
# an input that breaks it is saved in build/fuzz/findings/<target>/.
# Prints, per target, the executions per second and what was found; exits
# non-zero when any target found something (a crash, a leak, a timeout or
# running out of memory).
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
targets=("$@")
[ "${#targets[@]}" -eq 0 ] && targets=(fuzz_ini fuzz_paths fuzz_pe)
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh [seconds] [target...]" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

# Per target: the corpus folder, the largest input and the dictionary.
declare -A corpus=([fuzz_ini]=ini [fuzz_paths]=paths [fuzz_pe]=pe)
declare -A max_len=([fuzz_ini]=4096 [fuzz_paths]=1024 [fuzz_pe]=8192)

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:quarantine_size_mb=64:malloc_context_size=10}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
summary=()
for target in "${targets[@]}"; do
  name=${corpus[$target]:-}
  if [ -z "$name" ] || [ ! -x "build/fuzz/bin/$target" ]; then
    echo "fuzz.sh: unknown target $target" >&2
    status=1
    continue
  fi
  work=build/fuzz/corpus/$name
  findings=build/fuzz/findings/$target
  mkdir -p "$work" "$findings"
  # The engine keeps the last load per thread from one input to the next, so
  # leaks are looked for once, at the end of the run (-detect_leaks=0 only
  # skips the check after every input). The targets' scratch files go to a
  # folder of this run, removed afterwards: in memory where the system has a
  # tmpfs there (a save renames over the file, which a disk file system may flush).
  scratch_base=${TMPDIR:-/tmp}
  [ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
  scratch=$(mktemp -d "$scratch_base/qxfuzz.XXXXXX")
  log=build/fuzz/$target.log
  stamp=build/fuzz/$target.started
  touch "$stamp"
  echo "== $target: $seconds s"
  TMPDIR=$scratch "build/fuzz/bin/$target" "$work" "tests/fuzz/corpus/$name" \
    -dict="tests/fuzz/$name.dict" -max_len="${max_len[$target]}" -max_total_time="$seconds" \
    -timeout=25 -rss_limit_mb=2048 -detect_leaks=0 -print_final_stats=1 -artifact_prefix="$findings/" \
    >"$log" 2>&1
  rc=$?
  rm -rf "$scratch"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  added=$(sed -n 's/^stat::new_units_added: *//p' "$log" | tail -n 1)
  cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1)
  new=$(find "$findings" -type f -newer "$stamp" -printf '%p ')
  if [ "$rc" -ne 0 ] || [ -n "$new" ]; then
    status=1
    found="FOUND (exit $rc): ${new:-see the log}"
    # What broke, as the target or a sanitizer reported it.
    grep -E -m 5 'invariant broken|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY:|deadly signal|Timeout|out-of-memory' "$log" | sed 's/^/    /'
    echo "    full log: $log"
  else
    found="nothing found"
  fi
  line="$target: ${execs:-?} executions, ${rate:-?} exec/s, ${cov:-cov: ?}, ${added:-0} new inputs; $found"
  echo "$line"
  summary+=("$line")
done

echo "== fuzz summary"
printf '%s\n' "${summary[@]}"
exit "$status"
