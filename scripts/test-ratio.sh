#!/usr/bin/env bash
# Prints how many lines the tests hold against the library's own code: the
# team keeps tests to roughly a quarter to a third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | xargs -r cat | wc -l; }
library=$(count 'core/*' 'files/*' 'ini/*' 'logging/*' 'timing/*' 'sysinfo/*' 'registry/*' 'launch/*' 'ui/*' 'com/*.cpp' 'com/*.h' 'com/*.idl')
tests=$(count 'tests/*.cpp' 'tests/*.h' 'tests/*.vbs' 'tests/*.sh')
echo "tests: $tests lines against $library lines of library code ($((100 * tests / library))%)"
