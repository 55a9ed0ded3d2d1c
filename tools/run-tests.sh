#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the network tests under ThreadSanitizer, and
# each fuzz target for a bounded time.
# Network tests run in the namespace test bed (tools/testbed.sh); nothing leaves the machine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh" clang-14 libclang-rt-14-dev tshark desktop-file-utils

run_suite() {  # build folder, cmake options, ctest options
  local build=$1 options=$2 selection=$3
  echo "=== $build ${options:-(plain)} ==="
  # shellcheck disable=SC2086
  VELMORA_BUILD="$here/$build" "$here/tools/build.sh" $options
  # shellcheck disable=SC2086
  (cd "$here/$build" && ctest --output-on-failure $selection)
}

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# die_after_fork=0: the flood test starts its flooders from a process that already has threads.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$here/tools/tsan.supp"

run_suite build "" ""
[ "${VELMORA_QUICK:-}" = 1 ] && exit 0
run_suite build-asan "-DVELMORA_SANITIZE=address,undefined" ""
run_suite build-tsan "-DVELMORA_SANITIZE=thread" "-L network"
echo "=== fuzzing, ${VELMORA_FUZZ_SECONDS:-30} s a target ==="
"$here/tools/fuzz.sh" "${VELMORA_FUZZ_SECONDS:-30}"
echo "=== all test runs passed ==="
