#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each one for SECONDS (default 30) from the seed corpus in tests/fuzz/corpus.
# A long run: tools/fuzz.sh 3600; a run of a million inputs each: tools/fuzz.sh runs=1000000
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
limit=-max_total_time=$seconds
case "$seconds" in runs=*) limit=-runs=${seconds#runs=} ;; esac
build=${VELMORA_FUZZ_BUILD:-$here/build-fuzz}
CXX=clang++-14 CC=clang-14 cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DVELMORA_SANITIZE=address,undefined -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_reply_walk fuzz_command_frames
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in reply_walk command_frames; do
  found=$(mktemp -d)
  echo "=== fuzz_$target ($limit) ==="
  "$build/tests/fuzz/fuzz_$target" "$limit" -print_final_stats=1 -artifact_prefix="$build/" \
    "$found" "$here/tests/fuzz/corpus/$target" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
  status=${PIPESTATUS[0]}
  rm -rf "$found"
  [ "$status" -eq 0 ] || { echo "fuzz_$target found a fault; the input is in $build/" >&2; exit 1; }
done
